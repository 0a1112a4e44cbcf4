// AudioThreadCounter.cpp — the interposed allocator and lock functions.
//
// Allocation goes straight to glibc's own entry points (__libc_malloc and
// friends); the pthread functions forward to the next definition found by
// dlsym(RTLD_NEXT), looked up once before main. A thread-local flag decides
// whether a call is counted, so the counters never disturb the test's own
// threads.
#include "tests/alloc/AudioThreadCounter.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace alloccount {
namespace {

thread_local bool onAudioThread = false;

std::atomic<std::uint64_t> mallocCount{0};
std::atomic<std::uint64_t> freeCount{0};
std::atomic<std::uint64_t> newCount{0};
std::atomic<std::uint64_t> deleteCount{0};
std::atomic<std::uint64_t> lockCount{0};

inline void note(std::atomic<std::uint64_t>& counter) {
    if (onAudioThread) counter.fetch_add(1, std::memory_order_relaxed);
}

template <class Function>
Function nextDefinition(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using MutexFunction = int (*)(pthread_mutex_t*);
using TimedMutexFunction = int (*)(pthread_mutex_t*, const struct timespec*);
using RwlockFunction = int (*)(pthread_rwlock_t*);
using SpinFunction = int (*)(pthread_spinlock_t*);

struct RealFunctions {
    MutexFunction mutexLock = nextDefinition<MutexFunction>("pthread_mutex_lock");
    MutexFunction mutexTrylock = nextDefinition<MutexFunction>("pthread_mutex_trylock");
    MutexFunction mutexUnlock = nextDefinition<MutexFunction>("pthread_mutex_unlock");
    TimedMutexFunction mutexTimedlock = nextDefinition<TimedMutexFunction>("pthread_mutex_timedlock");
    RwlockFunction rdlock = nextDefinition<RwlockFunction>("pthread_rwlock_rdlock");
    RwlockFunction wrlock = nextDefinition<RwlockFunction>("pthread_rwlock_wrlock");
    RwlockFunction rwUnlock = nextDefinition<RwlockFunction>("pthread_rwlock_unlock");
    SpinFunction spinLock = nextDefinition<SpinFunction>("pthread_spin_lock");
    SpinFunction spinUnlock = nextDefinition<SpinFunction>("pthread_spin_unlock");
};

const RealFunctions& real() {
    static const RealFunctions functions;
    return functions;
}
// Look the functions up before any test thread exists.
const RealFunctions& lookedUpEarly = real();

}  // namespace

AudioThreadCounts countsOnAudioThread() {
    AudioThreadCounts counts;
    counts.mallocs = mallocCount.load();
    counts.frees = freeCount.load();
    counts.news = newCount.load();
    counts.deletes = deleteCount.load();
    counts.locks = lockCount.load();
    return counts;
}

void resetCounts() {
    mallocCount = 0;
    freeCount = 0;
    newCount = 0;
    deleteCount = 0;
    lockCount = 0;
}

AudioThreadScope::AudioThreadScope() { onAudioThread = true; }
AudioThreadScope::~AudioThreadScope() { onAudioThread = false; }

}  // namespace alloccount

using alloccount::deleteCount;
using alloccount::freeCount;
using alloccount::lockCount;
using alloccount::mallocCount;
using alloccount::newCount;
using alloccount::note;
using alloccount::real;

extern "C" {

void* malloc(std::size_t size) {
    note(mallocCount);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    note(mallocCount);
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size) {
    note(mallocCount);
    return __libc_realloc(pointer, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    note(mallocCount);
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    note(mallocCount);
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    note(mallocCount);
    void* pointer = __libc_memalign(alignment, size);
    if (!pointer) return 12;  // ENOMEM
    *result = pointer;
    return 0;
}
void free(void* pointer) {
    note(freeCount);
    __libc_free(pointer);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
    note(lockCount);
    return real().mutexLock(mutex);
}
int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    note(lockCount);
    return real().mutexTrylock(mutex);
}
int pthread_mutex_unlock(pthread_mutex_t* mutex) {
    note(lockCount);
    return real().mutexUnlock(mutex);
}
int pthread_mutex_timedlock(pthread_mutex_t* mutex, const struct timespec* until) {
    note(lockCount);
    return real().mutexTimedlock(mutex, until);
}
int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    note(lockCount);
    return real().rdlock(lock);
}
int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    note(lockCount);
    return real().wrlock(lock);
}
int pthread_rwlock_unlock(pthread_rwlock_t* lock) {
    note(lockCount);
    return real().rwUnlock(lock);
}
int pthread_spin_lock(pthread_spinlock_t* lock) {
    note(lockCount);
    return real().spinLock(lock);
}
int pthread_spin_unlock(pthread_spinlock_t* lock) {
    note(lockCount);
    return real().spinUnlock(lock);
}

}  // extern "C"

namespace {
void* countedNew(std::size_t size) {
    note(newCount);
    void* pointer = __libc_malloc(size ? size : 1);
    if (!pointer) throw std::bad_alloc();
    return pointer;
}
void* countedAlignedNew(std::size_t size, std::align_val_t alignment) {
    note(newCount);
    void* pointer = __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1);
    if (!pointer) throw std::bad_alloc();
    return pointer;
}
void countedDelete(void* pointer) {
    note(deleteCount);
    __libc_free(pointer);
}
}  // namespace

void* operator new(std::size_t size) { return countedNew(size); }
void* operator new[](std::size_t size) { return countedNew(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    note(newCount);
    return __libc_malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    note(newCount);
    return __libc_malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t alignment) { return countedAlignedNew(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return countedAlignedNew(size, alignment); }
void operator delete(void* pointer) noexcept { countedDelete(pointer); }
void operator delete[](void* pointer) noexcept { countedDelete(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { countedDelete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { countedDelete(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { countedDelete(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { countedDelete(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { countedDelete(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { countedDelete(pointer); }
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept { countedDelete(pointer); }
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept { countedDelete(pointer); }
