#pragma once
// Logging with an area and a level.
//
// Lines go to standard error when SAL_LOG is set in the environment: "+INFO" and
// "+WARN" switch the levels on (both when SAL_LOG is "1"), optionally followed by
// ".area" to restrict them, e.g. SAL_LOG="+WARN.lingucomponent.lexivor".
// A capture hook, when installed, receives every line whatever SAL_LOG says.

#include <sal/types.h>

#include <sstream>
#include <string>

enum sal_detail_LogLevel { SAL_DETAIL_LOG_LEVEL_INFO, SAL_DETAIL_LOG_LEVEL_WARN };

// (area, level, text) of every logged line; the text is UTF-8 without a newline.
using sal_detail_LogHook = void (*)(void* data, const char* area, sal_detail_LogLevel level, const char* text);

extern "C" {
SALQX_DLLPUBLIC void sal_detail_log(sal_detail_LogLevel level, const char* area, const char* text);
// Whether a line of that level and area would go anywhere: lets callers skip formatting.
SALQX_DLLPUBLIC bool sal_detail_logEnabled(sal_detail_LogLevel level, const char* area);
// Installs hook (nullptr removes it) and returns the previous one.
SALQX_DLLPUBLIC sal_detail_LogHook sal_detail_setLogHook(sal_detail_LogHook hook, void* data, void** previousData);
}

#define SAL_DETAIL_LOG(level, area, stream)                                  \
    do {                                                                     \
        if (sal_detail_logEnabled(level, area)) {                            \
            ::std::ostringstream sal_detail_stream;                          \
            sal_detail_stream << stream;                                     \
            ::sal_detail_log(level, area, sal_detail_stream.str().c_str());  \
        }                                                                    \
    } while (false)

#define SAL_INFO(area, stream) SAL_DETAIL_LOG(SAL_DETAIL_LOG_LEVEL_INFO, area, stream)
#define SAL_WARN(area, stream) SAL_DETAIL_LOG(SAL_DETAIL_LOG_LEVEL_WARN, area, stream)
#define SAL_WARN_IF(cond, area, stream) do { if (cond) SAL_WARN(area, stream); } while (false)
#define SAL_INFO_IF(cond, area, stream) do { if (cond) SAL_INFO(area, stream); } while (false)
