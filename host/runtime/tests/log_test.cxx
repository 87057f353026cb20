// Logging: the capture hook, QX_LOG selection and the standard error format.

#include <sal/logging.hxx>
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

// QX_LOG for the lifetime of the object; the runtime rereads it on initialisation.
class QxLog {
public:
    explicit QxLog(const char* value) {
        env_.emplace("QX_LOG", value);
        sal_detail_initialize(0, nullptr);
    }
    ~QxLog() {
        env_.reset();
        sal_detail_initialize(0, nullptr);
    }
    QxLog(const QxLog&) = delete;
    QxLog& operator=(const QxLog&) = delete;

private:
    std::optional<salqx_test::EnvGuard> env_;
};

TEST(Log, HookReceivesEveryLineWhateverQxLogSays) {
    QxLog off(nullptr);
    EXPECT_FALSE(salqx_logEnabled(SALQX_LOG_WARN, "corvane"));
    LogCapture log;
    EXPECT_TRUE(salqx_logEnabled(SALQX_LOG_INFO, "corvane"));
    QX_LOG_WARN("corvane", "expected " << 3 << " items, got " << 2.5);
    QX_LOG_INFO("cppu.tarven", "LIFE: s_acquire");
    QX_LOG_WARN_IF(false, "corvane", "never");
    QX_LOG_INFO_IF(true, "legacy.osl", "");
    EXPECT_EQ(log.lines(), (std::vector<LogLine>{{"corvane", SALQX_LOG_WARN, "expected 3 items, got 2.5"},
                                                  {"cppu.tarven", SALQX_LOG_INFO, "LIFE: s_acquire"},
                                                  {"legacy.osl", SALQX_LOG_INFO, ""}}));
}

TEST(Log, HooksNestAndRestore) {
    QxLog off(nullptr);
    {
        LogCapture outer;
        {
            LogCapture inner("lingucomponent.lexivor");
            QX_LOG_WARN("lingucomponent.lexivor", "inner");
            QX_LOG_WARN("corvane", "not for inner");
            EXPECT_EQ(inner.texts(SALQX_LOG_WARN), std::vector<std::string>{"inner"});
        }
        QX_LOG_WARN("corvane", "outer");
        EXPECT_EQ(outer.texts(SALQX_LOG_WARN), std::vector<std::string>{"outer"});
    }
    EXPECT_FALSE(salqx_logEnabled(SALQX_LOG_WARN, "corvane"));
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(salqx_setLogHook(nullptr, nullptr, &data), nullptr);
    EXPECT_EQ(data, nullptr);
}

TEST(Log, QxLogSelectsLevelsAndAreas) {
    struct Case {
        const char* qxLog;
        salqx_LogLevel level;
        const char* area;
        bool enabled;
    };
    const auto info = SALQX_LOG_INFO;
    const auto warn = SALQX_LOG_WARN;
    const Case cases[] = {
        {nullptr, warn, "corvane", false},
        {"", warn, "corvane", false},
        {"all", info, "corvane", true},
        {"ALL", warn, "legacy.osl", true},
        {"warn", warn, "corvane", true},
        {"warn", info, "corvane", false},
        {"info", info, "cppu.tarven", true},
        {"INFO", info, "cppu.tarven", true},
        {"warn:lingucomponent.lexivor", warn, "lingucomponent.lexivor", true},
        {"warn:lingucomponent.lexivor", warn, "corvane", false},
        {"warn:lingucomponent", warn, "lingucomponent.lexivor", true},
        {"warn:lingu", warn, "lingucomponent.lexivor", false},
        {"warn,info:cppu", info, "cppu.tarven", true},
        {"warn info:cppu", info, "corvane", false},
        {"warn,-warn:corvane", warn, "corvane", false},
        {"warn,-warn:corvane", warn, "legacy.osl", true},
        {"all:corvane,-info", info, "corvane", false},
        {"all:corvane,-info", warn, "corvane", true},
        {"bogus", warn, "corvane", false},
        {"1", warn, "corvane", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.qxLog ? c.qxLog : "(unset)") << " " << c.area);
        QxLog env(c.qxLog);
        EXPECT_EQ(salqx_logEnabled(c.level, c.area), c.enabled);
    }
}

TEST(Log, StandardErrorLinesHaveLevelAndArea) {
    QxLog env("warn:corvane,info:cppu.tarven");
    testing::internal::CaptureStderr();
    QX_LOG_WARN("corvane", "range outside the sheet");
    QX_LOG_INFO("corvane", "not enabled");
    QX_LOG_WARN("lingucomponent.lexivor", "not enabled either");
    QX_LOG_INFO("cppu.tarven", "LIFE: created");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "warn:corvane: range outside the sheet\ninfo:cppu.tarven: LIFE: created\n");
}

TEST(Log, ConcurrentLinesArriveWhole) {
    QxLog off(nullptr);
    LogCapture log;
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) QX_LOG_INFO("corvane", "thread " << t << " line " << i);
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
    QX_LOG_WARN("corvane", "after");
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), std::vector<std::string>{"after"});
}

} // namespace
