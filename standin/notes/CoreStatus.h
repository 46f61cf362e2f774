// Statuses of the runtime core (start-up, Extension Manager, memory, text and time), in the
// 0x3E20-0x3E2F part of the stand-in's own package.
#pragma once

#include "StandinStatus.h"

namespace standin {

constexpr STATUS kStsWrongPassword = 0x3E20;
constexpr STATUS kStsIdFileUnreadable = 0x3E21;
constexpr STATUS kStsMemoryLocked = 0x3E22;
constexpr STATUS kStsInvalidTime = 0x3E23;
constexpr STATUS kStsUnknownRegistration = 0x3E24;
constexpr STATUS kStsInvalidNumber = 0x3E25;

}  // namespace standin
