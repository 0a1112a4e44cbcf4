// AudioThreadCounter.h — counts heap and lock calls made on a marked thread.
//
//   AudioThreadScope   marks the current thread as the audio thread while alive
//   AudioThreadCounts  how many malloc/free/new/delete and mutex calls were seen
//   countsOnAudioThread / resetCounts
//
// The counting functions themselves are interposed in AudioThreadCounter.cpp:
// this test binary defines malloc, free, operator new/delete and the pthread
// lock functions, so every call made by the plug-in code it links comes here
// first. Calls on unmarked threads are forwarded without being counted.
#pragma once

#include <cstdint>

namespace alloccount {

struct AudioThreadCounts {
    std::uint64_t mallocs = 0;  // malloc, calloc, realloc, memalign and relatives
    std::uint64_t frees = 0;
    std::uint64_t news = 0;     // every operator new
    std::uint64_t deletes = 0;  // every operator delete
    std::uint64_t locks = 0;    // pthread mutex, rwlock and spin lock/unlock calls
    std::uint64_t total() const { return mallocs + frees + news + deletes + locks; }
};

AudioThreadCounts countsOnAudioThread();
void resetCounts();

class AudioThreadScope {
public:
    AudioThreadScope();
    ~AudioThreadScope();
    AudioThreadScope(const AudioThreadScope&) = delete;
    AudioThreadScope& operator=(const AudioThreadScope&) = delete;
};

}  // namespace alloccount
