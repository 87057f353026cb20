// Recursive mutexes over pthreads.

#include <osl/mutex.h>

#include <new>
#include <pthread.h>

struct oslMutexImpl {
    pthread_mutex_t mutex;
};

extern "C" {

oslMutex osl_createMutex() {
    auto* m = new (std::nothrow) oslMutexImpl;
    if (m == nullptr) return nullptr;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    int rc = pthread_mutex_init(&m->mutex, &attr);
    pthread_mutexattr_destroy(&attr);
    if (rc != 0) {
        delete m;
        return nullptr;
    }
    return m;
}

void osl_destroyMutex(oslMutex m) {
    if (m == nullptr) return;
    pthread_mutex_destroy(&m->mutex);
    delete m;
}

bool osl_acquireMutex(oslMutex m) { return m != nullptr && pthread_mutex_lock(&m->mutex) == 0; }

bool osl_tryToAcquireMutex(oslMutex m) { return m != nullptr && pthread_mutex_trylock(&m->mutex) == 0; }

bool osl_releaseMutex(oslMutex m) { return m != nullptr && pthread_mutex_unlock(&m->mutex) == 0; }

} // extern "C"
