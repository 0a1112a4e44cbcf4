// HostCallback.h — plughost's audioMaster.
//
//   configureHost   the version answer and whether calls are printed
//   hostCallback    the audioMasterCallback handed to every plug-in's main
//   hostCallCount   how many calls arrived so far (any thread)
//   opcodeName      published name of a host callback opcode
#pragma once

#include <cstdint>

#include "framework/DAEffect.h"

namespace plughost {

void configureHost(int versionAnswer, bool logCalls);
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                   void* ptr, float opt);
long hostCallCount();
const char* opcodeName(std::int32_t opcode);

}  // namespace plughost
