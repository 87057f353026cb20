#pragma once
#include <osl/mutex.h>

namespace osl {

// A recursive mutex; the same thread may acquire it again.
class Mutex {
public:
    Mutex() : m_(osl_createMutex()) {}
    ~Mutex() { osl_destroyMutex(m_); }
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    bool acquire() { return osl_acquireMutex(m_); }
    bool tryToAcquire() { return osl_tryToAcquireMutex(m_); }
    bool release() { return osl_releaseMutex(m_); }
    oslMutex handle() const { return m_; }

private:
    oslMutex m_;
};

template <class T>
class Guard {
public:
    explicit Guard(T& m) : m_(m) { m_.acquire(); }
    explicit Guard(T* m) : m_(*m) { m_.acquire(); }
    ~Guard() { m_.release(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    T& m_;
};

using MutexGuard = Guard<Mutex>;

} // namespace osl
