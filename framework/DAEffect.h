// DAEffect.h — the VST 2 host record and its constants.
//
//   AEffect              the record every effect hands to its host
//   audioMasterCallback  the host's callback; the five entry signatures
//   fourCharCode         packs four characters, first one highest
//   opcode, flag and host-callback constants by their published names
//
// Layout: on 32-bit targets the record is the original 144 bytes; on 64-bit
// targets the pointer-sized fields (dispatcher value/result, resvd1/resvd2)
// follow the 64-bit VST 2 layout of 192 bytes. Both are checked below.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

// Pointer-sized integer of the 64-bit layout; plain int32 on 32-bit targets.
using VstIntPtr = std::intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                    VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                      VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              std::int32_t sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, std::int32_t index, float value);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, std::int32_t index);

constexpr std::int32_t fourCharCode(char c1, char c2, char c3, char c4) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(c1)) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c2)) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c3)) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(c4)));
}

constexpr std::int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');
constexpr std::int32_t kIdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');
constexpr std::int32_t kDefaultUniqueID = fourCharCode('N', 'o', 'E', 'f');

struct AEffect {
    std::int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t numInputs;
    std::int32_t numOutputs;
    std::int32_t flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    std::int32_t initialDelay;
    std::int32_t realQualities;
    std::int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    std::int32_t uniqueID;
    std::int32_t version;
    AEffectProcessProc processReplacing;
    char future[60];
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(AEffect) == 144, "32-bit record is 144 bytes");
static_assert(offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, getParameter) == 16, "32-bit layout");
static_assert(offsetof(AEffect, numPrograms) == 20 && offsetof(AEffect, flags) == 36, "32-bit layout");
static_assert(offsetof(AEffect, resvd1) == 40 && offsetof(AEffect, resvd2) == 44, "32-bit layout");
static_assert(offsetof(AEffect, initialDelay) == 48 && offsetof(AEffect, ioRatio) == 60, "32-bit layout");
static_assert(offsetof(AEffect, object) == 64 && offsetof(AEffect, user) == 68, "32-bit layout");
static_assert(offsetof(AEffect, uniqueID) == 72 && offsetof(AEffect, version) == 76, "32-bit layout");
static_assert(offsetof(AEffect, processReplacing) == 80 && offsetof(AEffect, future) == 84, "32-bit layout");
#else
static_assert(sizeof(AEffect) == 192, "64-bit record is 192 bytes");
static_assert(offsetof(AEffect, dispatcher) == 8 && offsetof(AEffect, getParameter) == 32, "64-bit layout");
static_assert(offsetof(AEffect, numPrograms) == 40 && offsetof(AEffect, flags) == 56, "64-bit layout");
static_assert(offsetof(AEffect, resvd1) == 64 && offsetof(AEffect, resvd2) == 72, "64-bit layout");
static_assert(offsetof(AEffect, initialDelay) == 80 && offsetof(AEffect, ioRatio) == 92, "64-bit layout");
static_assert(offsetof(AEffect, object) == 96 && offsetof(AEffect, user) == 104, "64-bit layout");
static_assert(offsetof(AEffect, uniqueID) == 112 && offsetof(AEffect, version) == 116, "64-bit layout");
static_assert(offsetof(AEffect, processReplacing) == 120 && offsetof(AEffect, future) == 128, "64-bit layout");
#endif

// Flag bits of AEffect::flags.
enum : std::int32_t {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2,
    effFlagsHasVu = 4,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,  // the host keeps the state as one block of bytes (effGetChunk)
};

// Dispatcher opcodes, 0 to 22.
enum : std::int32_t {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
};

// Opcodes above effIdentify that are answered. Whether a host may record and
// play back automation of a parameter (1) or not (0):
constexpr std::int32_t effCanBeAutomated = 26;
// The state as one block of bytes: effGetChunk (index 0 the bank, 1 the
// program; ptr a void** that receives the effect's own memory) answers its
// size, 0 for none; effSetChunk (index as above, value the size, ptr the
// bytes) answers 1 when it took them, 0 when it changed nothing.
constexpr std::int32_t effGetChunk = 23;
constexpr std::int32_t effSetChunk = 24;
// Vendor requests; the one read is a host's display scale: index 'PreS', value
// 'AeCs', opt the scale factor (1.5 for 150 %), as some Windows hosts send it.
constexpr std::int32_t effVendorSpecific = 50;
// Beyond the five below, the one host request made: resize the editor's window
// (index width, value height); a host that cannot answers 0.
constexpr std::int32_t audioMasterSizeWindow = 15;

// The host calls that bracket a gesture on a parameter (index), so that touch
// automation records it.
constexpr std::int32_t audioMasterBeginEdit = 43;
constexpr std::int32_t audioMasterEndEdit = 44;

// Host callback opcodes, 0 to 4.
enum : std::int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion,
    audioMasterCurrentId,
    audioMasterIdle,
    audioMasterPinConnected,
};

// Longest texts written into host buffers (VST 2 conventions), without the zero.
constexpr std::size_t kMaxProgramNameLength = 24;
constexpr std::size_t kMaxParameterTextLength = 8;

// The editor rectangle handed to the host.
struct ERect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};
static_assert(sizeof(ERect) == 8, "ERect is four 16-bit integers");
