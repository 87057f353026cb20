#pragma once
// The host's side of the configuration: where the user's profile lives, and the
// calls through which the host (and tests) read and change values.  Services
// read the same values through the default provider singleton
// (com/qam/vexo/configuration/theDefaultProvider.hxx), and every change made
// here reaches the XChangesListeners registered on the accesses above it.
//
// Paths name nodes and values from the root: "/org.ambrel.Setup/Language/UserLocale".
// A value is a boolean, an integer (short, long or hyper), a double or a string.
//
// The profile is UTF-8 text, one value per line, "PATH = VALUE"; "#" starts a
// comment line.  VALUE is true or false, a decimal integer, a number with "."
// or an exponent, or a string in double quotes with the escapes \" \\ \n \r
// \t \uXXXX.  Lines that cannot be read are logged (area "configmgr") and
// skipped; a later line for the same path wins.
//
// The calls act on the configuration of the process component context, which
// officehost::initProcessContext sets up; each new process context starts from
// the profile file again.

#include <com/qam/vexo/lang/interfaces.hxx>

#include <utility>
#include <vector>

namespace officehost::configuration {

// The user's profile file as a system path: $QX_USER_PROFILE when it is set and
// not empty, otherwise $XDG_CONFIG_HOME/qx/settings.txt, otherwise
// $HOME/.config/qx/settings.txt.  A configuration reads it when it
// is first used; a missing file means that every value has its default.
SAL_DLLPUBLIC_EXPORT OUString profilePath();

// The value at path; void when there is none, when the path names a node, or
// when the process has no configuration.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Any getValue(const OUString& path);

// Sets a value, creating the nodes above it, and notifies the listeners when it
// changed.  IllegalArgumentException for a malformed path, a path that runs
// through a value or names a node, and a value of another type (or a double
// that is not finite); RuntimeException when the process has no configuration.
SAL_DLLPUBLIC_EXPORT void setValue(const OUString& path, const ::zel::uno::Any& value);
// Sets several values at once; every listener hears of all the changes that
// concern it in one event.  Nothing is set when one of them is refused.
SAL_DLLPUBLIC_EXPORT void setValues(const std::vector<std::pair<OUString, ::zel::uno::Any>>& values);
// Removes a value, or a node with everything below it, and notifies the
// listeners (one change per removed value).  False when the path names nothing.
SAL_DLLPUBLIC_EXPORT bool removeValue(const OUString& path);

// Reads the profile file again and notifies the listeners of every value that
// it changes; values set in the process and not stored are lost.
SAL_DLLPUBLIC_EXPORT void reload();
// Writes every value to the profile file (creating its directory), replacing the
// file as a whole; RuntimeException with the file's path when that fails.
SAL_DLLPUBLIC_EXPORT void storeProfile();

} // namespace officehost::configuration
