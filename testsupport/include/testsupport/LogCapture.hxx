#pragma once
// Captures the runtime's log lines while it lives:
//   testsupport::LogCapture log;
//   ...;
//   EXPECT_EQ(log.lines(), (std::vector<testsupport::LogLine>{{"corvane", SALQX_LOG_WARN, "..."}}));

#include <sal/logging.hxx>

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

struct LogLine {
    std::string area;
    salqx_LogLevel level;
    std::string text;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};
std::ostream& operator<<(std::ostream& os, const LogLine& l);

class LogCapture {
public:
    // Only lines of this area when not empty.
    explicit LogCapture(std::string area = {});
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogLine> lines() const;
    std::vector<std::string> texts(salqx_LogLevel level) const;
    void clear();

private:
    static void hook(void* data, const char* area, salqx_LogLevel level, const char* text);
    std::string area_;
    mutable std::mutex mutex_;
    std::vector<LogLine> lines_;
    salqx_LogHook previous_;
    void* previousData_;
};

} // namespace testsupport
