#pragma once
// C++ conveniences over the file functions.
#include <osl/file.h>
#include <rtl/ustring.hxx>

namespace osl {
struct FileBase {
    static oslFileError getFileURLFromSystemPath(const OUString& path, OUString& url) {
        return osl_getFileURLFromSystemPath(path.pData, &url.pData);
    }
    static oslFileError getSystemPathFromFileURL(const OUString& url, OUString& path) {
        return osl_getSystemPathFromFileURL(url.pData, &path.pData);
    }
    static oslFileError getAbsoluteFileURL(const OUString& base, const OUString& rel, OUString& abs) {
        return osl_getAbsoluteFileURL(base.pData, rel.pData, &abs.pData);
    }
};
} // namespace osl
