// relocale <input> <output> <bcp47-language>
//
// Resolves the language markers of one document for one language.  The tool only
// turns its arguments into what the host's translation routine takes and reports
// the routine's result; it never looks at the documents itself.

#include <desktop/l10n.hxx>
#include <osl/file.h>
#include <osl/process.h>
#include <osl/thread.h>
#include <rtl/ustring.hxx>
#include <sal/types.h>
#include <tools/extendapplicationenvironment.hxx>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

constexpr char usage[] = "usage: relocale <input> <output> <bcp47-language>\n"
                         "\n"
                         "<input> and <output> are paths or file URLs and may name the same file.\n"
                         "An empty language only strips the markers.  Prints \"translated\" when\n"
                         "the language matched a locale of the stream, \"copied untranslated\"\n"
                         "otherwise.\n";

bool startsWithFileScheme(OUString const& s) {
    static constexpr char16_t scheme[] = u"file:";
    if (s.getLength() < 5)
        return false;
    for (sal_Int32 i = 0; i != 5; ++i) {
        sal_Unicode c = s[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<sal_Unicode>(c - u'A' + u'a');
        if (c != scheme[i])
            return false;
    }
    return true;
}

// A path becomes an absolute file URL, a URL stays as it is; what cannot be
// converted goes on as typed and the host decides what it makes of it.
OUString toFileURL(char const* arg) {
    OUString s;
    if (!rtl_convertStringToUString(&s.pData, arg, static_cast<sal_Int32>(std::strlen(arg)),
                                    osl_getThreadTextEncoding(), OSTRING_TO_OUSTRING_CVTFLAGS))
        throw std::bad_alloc();
    if (startsWithFileScheme(s))
        return s;
    OUString url;
    if (osl_getFileURLFromSystemPath(s.pData, &url.pData) != osl_File_E_None)
        return s;
    OUString workingDir;
    OUString absolute;
    if (osl_getProcessWorkingDir(&workingDir.pData) != osl_Process_E_None
        || osl_getAbsoluteFileURL(workingDir.pData, url.pData, &absolute.pData) != osl_File_E_None)
        return url;
    return absolute;
}

int run(int argc, char** argv) {
    if (argc != 4) {
        std::fputs(usage, stderr);
        return 1;
    }
    tools::extendApplicationEnvironment();
    OUString input = toFileURL(argv[1]);
    OUString output = toFileURL(argv[2]);
    // A language that is not UTF-8 cannot name any locale, and handing the host an
    // empty or mangled one instead would strip or keep the markers and call that
    // a success.  It fails like any other translation.
    OUString language;
    if (!rtl_convertStringToUString(&language.pData, argv[3], static_cast<sal_Int32>(std::strlen(argv[3])),
                                    RTL_TEXTENCODING_UTF8, RTL_TEXTTOUNICODE_FLAGS_STRICT)) {
        std::fprintf(stderr, "relocale: could not rewrite %s\n", argv[1]);
        return 1;
    }
    switch (desktop::l10n::translateDocument(input, output, language)) {
    case desktop::l10n::result::Translated:
        std::fputs("translated\n", stdout);
        return 0;
    case desktop::l10n::result::CopiedUntranslated:
        std::fputs("copied untranslated\n", stdout);
        return 0;
    default:
        std::fprintf(stderr, "relocale: could not rewrite %s\n", argv[1]);
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    sal_detail_initialize(argc, argv);
    int status = run(argc, argv);
    sal_detail_deinitialize();
    return status;
}
