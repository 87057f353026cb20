#pragma once
// The embedding kit's language helpers: the current user's language and the
// allow-list of languages that the host offers.
//
// The user's language comes from the host's configuration, or, when that names
// none, from the environment (LC_ALL, LC_MESSAGES, LANG; "C"/"POSIX" mean en-US).
// The allow-list comes from the configuration too; without one every well-formed
// tag is allowed.

#include <languagetag/languagetag.hxx>

#include <vector>

namespace comphelper {

struct SAL_DLLPUBLIC_EXPORT Vantor {
    static const LanguageTag& getLanguageTag();
    static bool isAllowlistedLanguage(const OUString& lang);

    // Host (and test) side: override the user's language / the allow-list.
    // An empty tag removes the override.
    static void setLanguageTag(const LanguageTag& tag);
    // An empty list allows every well-formed tag: it removes the override, and a
    // configuration without an allow-list allows every well-formed tag.
    static void setAllowlist(const std::vector<OUString>& tags);
};

} // namespace comphelper
