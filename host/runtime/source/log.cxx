// Logging with an area and a level.
//
// QX_LOG is a list of switches separated by commas or blanks.  A switch is a level,
// "info", "warn" or "all" (both), in any case, optionally followed by ":area"; a
// leading "-" turns the lines it selects off.  A switch without an area applies to
// every area, one with an area to that area and the areas below it
// ("warn:lingucomponent" covers "lingucomponent.lexivor").  The last switch that
// applies to a line decides; by default nothing is written.  Switches that name no
// known level are ignored.  The setting is read at first use and again by
// sal_detail_initialize.
//
// One lock serialises hook changes, hook calls and writes, so a line is never torn
// and a hook that has been replaced is not called any more once setLogHook returns.
// It is recursive so that a hook may log.

#include <sal/logging.hxx>

#include "strimpl.hxx"

#include <cstdlib>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Switch {
    bool on;
    salqx_LogLevel level;
    std::string area;
};

struct LogState {
    std::recursive_mutex mutex;
    bool loaded = false;
    std::vector<Switch> switches;
    salqx_LogHook hook = nullptr;
    void* hookData = nullptr;
};

LogState& state() {
    static LogState s;
    return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if ((x >= 'a' && x <= 'z' ? x - 32 : x) != (y >= 'a' && y <= 'z' ? y - 32 : y)) return false;
    }
    return true;
}

std::vector<Switch> parse(std::string_view setting) {
    std::vector<Switch> out;
    std::size_t i = 0;
    while (i < setting.size()) {
        std::size_t end = setting.find_first_of(", \t\n", i);
        if (end == std::string_view::npos) end = setting.size();
        std::string_view item = setting.substr(i, end - i);
        i = end + 1;
        bool on = true;
        if (item.starts_with('-')) {
            on = false;
            item.remove_prefix(1);
        }
        std::size_t colon = item.find(':');
        std::string_view levelName = item.substr(0, colon);
        std::string area(colon == std::string_view::npos ? std::string_view() : item.substr(colon + 1));
        const bool all = equalsIgnoreCase(levelName, "all");
        if (all || equalsIgnoreCase(levelName, "info")) out.push_back({on, SALQX_LOG_INFO, area});
        if (all || equalsIgnoreCase(levelName, "warn")) out.push_back({on, SALQX_LOG_WARN, area});
    }
    return out;
}

void loadLocked(LogState& s) {
    const char* env = std::getenv("QX_LOG");
    s.switches = parse(env == nullptr ? std::string_view() : std::string_view(env));
    s.loaded = true;
}

bool writtenLocked(LogState& s, salqx_LogLevel level, std::string_view area) {
    if (!s.loaded) loadLocked(s);
    bool on = false;
    for (const Switch& sw : s.switches) {
        if (sw.level != level) continue;
        if (!sw.area.empty() && area != sw.area
            && !(area.size() > sw.area.size() && area.starts_with(sw.area) && area[sw.area.size()] == '.'))
            continue;
        on = sw.on;
    }
    return on;
}

const char* levelName(salqx_LogLevel level) {
    switch (level) {
    case SALQX_LOG_INFO: return "info";
    case SALQX_LOG_WARN: return "warn";
    }
    return "?";
}

} // namespace

namespace salqx {

void reloadLogSettings() {
    LogState& s = state();
    std::lock_guard g(s.mutex);
    loadLocked(s);
}

} // namespace salqx

extern "C" {

void salqx_log(salqx_LogLevel level, const char* area, const char* text) {
    if (area == nullptr) area = "";
    if (text == nullptr) text = "";
    LogState& s = state();
    std::lock_guard g(s.mutex);
    if (s.hook != nullptr) s.hook(s.hookData, area, level, text);
    if (!writtenLocked(s, level, area)) return;
    std::string line = std::string(levelName(level)) + ":" + area + ": " + text + "\n";
    std::string_view rest = line;
    while (!rest.empty()) {
        ssize_t n = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (n <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool salqx_logEnabled(salqx_LogLevel level, const char* area) {
    LogState& s = state();
    std::lock_guard g(s.mutex);
    return s.hook != nullptr || writtenLocked(s, level, area == nullptr ? "" : area);
}

salqx_LogHook salqx_setLogHook(salqx_LogHook hook, void* data, void** previousData) {
    LogState& s = state();
    std::lock_guard g(s.mutex);
    salqx_LogHook previous = s.hook;
    if (previousData != nullptr) *previousData = s.hookData;
    s.hook = hook;
    s.hookData = hook == nullptr ? nullptr : data;
    return previous;
}

} // extern "C"
