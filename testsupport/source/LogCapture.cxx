#include <testsupport/LogCapture.hxx>

namespace testsupport {

std::ostream& operator<<(std::ostream& os, const LogLine& l) {
    return os << "{" << l.area << ", " << (l.level == SALQX_LOG_WARN ? "warn" : "info") << ", \"" << l.text
              << "\"}";
}

LogCapture::LogCapture(std::string area) : area_(std::move(area)) {
    previous_ = salqx_setLogHook(&LogCapture::hook, this, &previousData_);
}

LogCapture::~LogCapture() {
    void* ignored = nullptr;
    salqx_setLogHook(previous_, previousData_, &ignored);
}

void LogCapture::hook(void* data, const char* area, salqx_LogLevel level, const char* text) {
    auto* self = static_cast<LogCapture*>(data);
    if (!self->area_.empty() && self->area_ != area) return;
    std::lock_guard g(self->mutex_);
    self->lines_.push_back({area, level, text});
}

std::vector<LogLine> LogCapture::lines() const {
    std::lock_guard g(mutex_);
    return lines_;
}

std::vector<std::string> LogCapture::texts(salqx_LogLevel level) const {
    std::lock_guard g(mutex_);
    std::vector<std::string> r;
    for (auto& l : lines_)
        if (l.level == level) r.push_back(l.text);
    return r;
}

void LogCapture::clear() {
    std::lock_guard g(mutex_);
    lines_.clear();
}

} // namespace testsupport
