#pragma once
// The host's linguistic mutex: held by the linguistic services and their
// clients (the grammar checker, the spell checker, the number-text service)
// around every call that touches their state.  It is recursive, so a service
// may call another one while holding it.

#include <osl/mutex.hxx>

namespace linguistic {

SAL_DLLPUBLIC_EXPORT ::osl::Mutex& GetLinguMutex();

} // namespace linguistic
