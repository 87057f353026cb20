#pragma once
// Start-up preparation of a process that runs the host's document code.

#include <sal/types.h>

namespace tools {

// Puts the process into the state the host's code relies on, before any document
// work; safe to call more than once.  It
//  - opens /dev/null on any of the standard descriptors 0, 1 and 2 that is closed,
//    so that a document file opened later can never become "standard output" and
//    receive the program's messages;
//  - sets BRAND_BASE_DIR in the environment, when it is unset or empty, to the
//    runtime's own value (the file URL of the tree that holds program/), so that
//    child processes and every later bootstrap lookup agree on the installation;
//  - raises the soft limit of open files to the hard limit, as document work may
//    hold many files at once.
// The stand-in stops there: a real office also sets up its user profile,
// bootstrap ini files and crash reporting, none of which exists here.
SAL_DLLPUBLIC_EXPORT void extendApplicationEnvironment();

} // namespace tools
