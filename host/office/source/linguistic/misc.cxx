#include <linguistic/misc.hxx>

namespace linguistic {

osl::Mutex& GetLinguMutex() {
    // Never destroyed: a service released during static destruction still locks it.
    static osl::Mutex* mutex = new osl::Mutex;
    return *mutex;
}

} // namespace linguistic
