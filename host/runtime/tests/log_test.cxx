// Logging: the capture hook, SAL_LOG selection and the standard error format.

#include <sal/log.hxx>
#include <sal/types.h>

#include <testsupport/LogCapture.hxx>

#include "envguard.hxx"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::LogCapture;
using testsupport::LogLine;

// SAL_LOG for the lifetime of the object; the runtime rereads it on initialisation.
class SalLog {
public:
    explicit SalLog(const char* value) {
        env_.emplace("SAL_LOG", value);
        sal_detail_initialize(0, nullptr);
    }
    ~SalLog() {
        env_.reset();
        sal_detail_initialize(0, nullptr);
    }
    SalLog(const SalLog&) = delete;
    SalLog& operator=(const SalLog&) = delete;

private:
    std::optional<salqx_test::EnvGuard> env_;
};

TEST(Log, HookReceivesEveryLineWhateverSalLogSays) {
    SalLog off(nullptr);
    EXPECT_FALSE(sal_detail_logEnabled(SAL_DETAIL_LOG_LEVEL_WARN, "corvane"));
    LogCapture log;
    EXPECT_TRUE(sal_detail_logEnabled(SAL_DETAIL_LOG_LEVEL_INFO, "corvane"));
    SAL_WARN("corvane", "expected " << 3 << " items, got " << 2.5);
    SAL_INFO("cppu.tarven", "LIFE: s_acquire");
    SAL_WARN_IF(false, "corvane", "never");
    SAL_INFO_IF(true, "legacy.osl", "");
    EXPECT_EQ(log.lines(), (std::vector<LogLine>{{"corvane", SAL_DETAIL_LOG_LEVEL_WARN, "expected 3 items, got 2.5"},
                                                  {"cppu.tarven", SAL_DETAIL_LOG_LEVEL_INFO, "LIFE: s_acquire"},
                                                  {"legacy.osl", SAL_DETAIL_LOG_LEVEL_INFO, ""}}));
}

TEST(Log, HooksNestAndRestore) {
    SalLog off(nullptr);
    {
        LogCapture outer;
        {
            LogCapture inner("lingucomponent.lexivor");
            SAL_WARN("lingucomponent.lexivor", "inner");
            SAL_WARN("corvane", "not for inner");
            EXPECT_EQ(inner.texts(SAL_DETAIL_LOG_LEVEL_WARN), std::vector<std::string>{"inner"});
        }
        SAL_WARN("corvane", "outer");
        EXPECT_EQ(outer.texts(SAL_DETAIL_LOG_LEVEL_WARN), std::vector<std::string>{"outer"});
    }
    EXPECT_FALSE(sal_detail_logEnabled(SAL_DETAIL_LOG_LEVEL_WARN, "corvane"));
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(sal_detail_setLogHook(nullptr, nullptr, &data), nullptr);
    EXPECT_EQ(data, nullptr);
}

TEST(Log, SalLogSelectsLevelsAndAreas) {
    struct Case {
        const char* salLog;
        sal_detail_LogLevel level;
        const char* area;
        bool enabled;
    };
    const auto info = SAL_DETAIL_LOG_LEVEL_INFO;
    const auto warn = SAL_DETAIL_LOG_LEVEL_WARN;
    const Case cases[] = {
        {nullptr, warn, "corvane", false},
        {"", warn, "corvane", false},
        {"1", info, "corvane", true},
        {"1", warn, "legacy.osl", true},
        {"+WARN", warn, "corvane", true},
        {"+WARN", info, "corvane", false},
        {"+INFO", info, "cppu.tarven", true},
        {"+info", info, "cppu.tarven", true},
        {"+WARN.lingucomponent.lexivor", warn, "lingucomponent.lexivor", true},
        {"+WARN.lingucomponent.lexivor", warn, "corvane", false},
        {"+WARN.lingucomponent", warn, "lingucomponent.lexivor", true},
        {"+WARN.lingu", warn, "lingucomponent.lexivor", false},
        {"+WARN+INFO.cppu", info, "cppu.tarven", true},
        {"+WARN+INFO.cppu", info, "corvane", false},
        {"+WARN-WARN.corvane", warn, "corvane", false},
        {"+WARN-WARN.corvane", warn, "legacy.osl", true},
        {"+BOGUS", warn, "corvane", false},
        {"yes", warn, "corvane", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.salLog ? c.salLog : "(unset)") << " " << c.area);
        SalLog env(c.salLog);
        EXPECT_EQ(sal_detail_logEnabled(c.level, c.area), c.enabled);
    }
}

TEST(Log, StandardErrorLinesHaveLevelAndArea) {
    SalLog env("+WARN.corvane+INFO.cppu.tarven");
    testing::internal::CaptureStderr();
    SAL_WARN("corvane", "range outside the sheet");
    SAL_INFO("corvane", "not enabled");
    SAL_WARN("lingucomponent.lexivor", "not enabled either");
    SAL_INFO("cppu.tarven", "LIFE: created");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "warn:corvane: range outside the sheet\ninfo:cppu.tarven: LIFE: created\n");
}

TEST(Log, ConcurrentLinesArriveWhole) {
    SalLog off(nullptr);
    LogCapture log;
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) SAL_INFO("corvane", "thread " << t << " line " << i);
        });
    for (auto& t : threads) t.join();
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    std::set<std::string> distinct;
    for (const auto& l : lines) distinct.insert(l.text);
    EXPECT_EQ(distinct.size(), lines.size());
    EXPECT_EQ(distinct.count("thread 3 line 499"), 1u);
}

TEST(Init, InitialiseAndDeinitialiseMayRepeat) {
    char arg0[] = "program";
    char arg1[] = "--flag";
    char* argv[] = {arg0, arg1, nullptr};
    sal_detail_initialize(2, argv);
    sal_detail_deinitialize();
    sal_detail_initialize(2, argv);
    sal_detail_deinitialize();
    // The runtime stays usable afterwards.
    LogCapture log;
    SAL_WARN("corvane", "after");
    EXPECT_EQ(log.texts(SAL_DETAIL_LOG_LEVEL_WARN), std::vector<std::string>{"after"});
}

} // namespace
