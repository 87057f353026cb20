#pragma once
// The host's document translation routine.

#include <rtl/ustring.hxx>
#include <sal/types.h>

namespace desktop::l10n {

// Results of translateDocument.  Every value other than Translated and
// CopiedUntranslated is a failure; after a failure the output file is as it was.
namespace result {
inline constexpr int Translated = 0;          // the language matched a locale of the document
inline constexpr int CopiedUntranslated = 1;  // it did not (or was empty): no language chosen
inline constexpr int InputUnreadable = 2;     // not a file URL, missing, a directory, read error
inline constexpr int MalformedDocument = 3;   // not UTF-8, or a marker error
inline constexpr int OutputUnwritable = 4;    // the output could not be written in place
inline constexpr int BadLanguage = 5;         // the language is not a well-formed tag
} // namespace result

// Reads the marked-text document at inputURL, resolves its language markers for
// language (a BCP 47 tag, or empty to strip the markers) and writes the result to
// outputURL, which may name the same file.  The output is replaced atomically: a
// temporary file in the output's directory is written and renamed over it.  The
// reason for every failure is logged as a warning in the area "desktop.l10n".
// Document format: see the comment at the top of source/l10n/translatedocument.cxx.
SAL_DLLPUBLIC_EXPORT int translateDocument(OUString const& inputURL, OUString const& outputURL,
                                           OUString const& language);

} // namespace desktop::l10n
