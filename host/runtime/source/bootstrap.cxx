// Bootstrap variables and macro expansion.
//
// There is no bootstrap ini file in the stand-in: a variable is the environment
// variable of that name (when set and not empty) or one of the runtime's own values,
// BRAND_BASE_DIR and ORIGIN.  Environment values of these two are taken as given: a
// "file:" URL stays as it is, anything else is a system path and becomes a file URL
// (resolved against the working directory when relative).  Expanded values are not
// expanded again, and "${...}" holds a plain variable name only (no ini-file lookups).

#include <osl/file.h>
#include <osl/process.h>
#include <osl/thread.h>
#include <rtl/bootstrap.hxx>
#include <rtl/character.hxx>

#include "strimpl.hxx"

#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool isUrlVariable(std::u16string_view name) { return name == u"BRAND_BASE_DIR" || name == u"ORIGIN"; }

OUString asFileUrl(const OUString& value) {
    if (value.startsWithIgnoreAsciiCase(u"file:")) return value;
    OUString url;
    if (osl_getFileURLFromSystemPath(value.pData, &url.pData) != osl_File_E_None) return value;
    OUString cwd;
    OUString absolute;
    if (osl_getProcessWorkingDir(&cwd.pData) != osl_Process_E_None
        || osl_getAbsoluteFileURL(cwd.pData, url.pData, &absolute.pData) != osl_File_E_None)
        return url;
    return absolute;
}

std::optional<OUString> builtinValue(std::u16string_view name) {
    std::string dir = salqx::programDirectoryBytes();
    if (dir.empty()) return std::nullopt;
    if (name == u"ORIGIN") return salqx::pathBytesToUrl(dir);
    if (name == u"BRAND_BASE_DIR") {
        std::size_t slash = dir.rfind('/');
        return salqx::pathBytesToUrl(slash == 0 ? std::string("/") : dir.substr(0, slash));
    }
    return std::nullopt;
}

std::optional<OUString> variable(std::u16string_view name) {
    std::string key;
    if (!name.empty() && salqx::encodeUtf8(name, key, true) && key.find('\0') == std::string::npos) {
        const char* env = std::getenv(key.c_str());
        if (env != nullptr && *env != 0) {
            OUString value(env, static_cast<sal_Int32>(std::char_traits<char>::length(env)), osl_getThreadTextEncoding());
            return isUrlVariable(name) ? asFileUrl(value) : value;
        }
    }
    return builtinValue(name);
}

bool isNameChar(char16_t c) { return rtl::isAsciiAlphanumeric(c) || c == '_'; }

} // namespace

extern "C" {

void rtl_bootstrap_expandMacros(rtl_uString** macro) {
    if (macro == nullptr || *macro == nullptr) return;
    std::u16string_view in((*macro)->buffer, static_cast<std::size_t>((*macro)->length));
    if (in.find(u'$') == std::u16string_view::npos) return;
    std::u16string out;
    std::size_t i = 0;
    while (i < in.size()) {
        char16_t c = in[i];
        if (c == u'\\' && i + 1 < in.size() && in[i + 1] == u'$') {
            out.push_back(u'$');
            i += 2;
            continue;
        }
        if (c != u'$') {
            out.push_back(c);
            ++i;
            continue;
        }
        std::u16string_view name;
        std::size_t next = i + 1;
        if (next < in.size() && in[next] == u'{') {
            std::size_t close = in.find(u'}', next + 1);
            if (close == std::u16string_view::npos) {
                out.append(in.substr(i));
                break;
            }
            name = in.substr(next + 1, close - next - 1);
            next = close + 1;
        } else {
            while (next < in.size() && isNameChar(in[next])) ++next;
            name = in.substr(i + 1, next - i - 1);
            if (name.empty()) {
                out.push_back(u'$');
                ++i;
                continue;
            }
        }
        if (auto value = variable(name)) out.append(value->view());
        i = next;
    }
    salqx::assign(macro, out);
}

// Without a value and without a default, *value is left as it is.
bool rtl_bootstrap_get(rtl_uString* name, rtl_uString** value, rtl_uString* defaultValue) {
    if (value == nullptr) return false;
    std::optional<OUString> v;
    if (name != nullptr) v = variable(std::u16string_view(name->buffer, static_cast<std::size_t>(name->length)));
    if (v) {
        salqx::assign(value, *v);
        return true;
    }
    if (defaultValue != nullptr) {
        rtl_uString_acquire(defaultValue);
        salqx::assignOwned(value, defaultValue);
    } else if (*value == nullptr) {
        *value = rtl_uString_newEmpty();
    }
    return false;
}

} // extern "C"
