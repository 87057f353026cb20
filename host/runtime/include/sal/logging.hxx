#pragma once
// Logging with an area and a level.
//
// Lines go to standard error when QX_LOG is set in the environment: "info", "warn"
// or "all" switch levels on, optionally followed by ":area" to restrict them, and
// several switches are separated by commas, e.g. QX_LOG="warn:lingucomponent.lexivor".
// A capture hook, when installed, receives every line whatever QX_LOG says.

#include <sal/types.h>

#include <sstream>
#include <string>

enum salqx_LogLevel { SALQX_LOG_INFO, SALQX_LOG_WARN };

// (area, level, text) of every logged line; the text is UTF-8 without a newline.
using salqx_LogHook = void (*)(void* data, const char* area, salqx_LogLevel level, const char* text);

extern "C" {
SALQX_DLLPUBLIC void salqx_log(salqx_LogLevel level, const char* area, const char* text);
// Whether a line of that level and area would go anywhere: lets callers skip formatting.
SALQX_DLLPUBLIC bool salqx_logEnabled(salqx_LogLevel level, const char* area);
// Installs hook (nullptr removes it) and returns the previous one.
SALQX_DLLPUBLIC salqx_LogHook salqx_setLogHook(salqx_LogHook hook, void* data, void** previousData);
}

#define QX_LOG_LINE(level, area, stream)                                  \
    do {                                                                     \
        if (salqx_logEnabled(level, area)) {                            \
            ::std::ostringstream qx_log_stream;                          \
            qx_log_stream << stream;                                     \
            ::salqx_log(level, area, qx_log_stream.str().c_str());  \
        }                                                                    \
    } while (false)

#define QX_LOG_INFO(area, stream) QX_LOG_LINE(SALQX_LOG_INFO, area, stream)
#define QX_LOG_WARN(area, stream) QX_LOG_LINE(SALQX_LOG_WARN, area, stream)
#define QX_LOG_WARN_IF(cond, area, stream) do { if (cond) QX_LOG_WARN(area, stream); } while (false)
#define QX_LOG_INFO_IF(cond, area, stream) do { if (cond) QX_LOG_INFO(area, stream); } while (false)
