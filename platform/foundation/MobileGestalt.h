#pragma once
// MobileGestalt: the phone's answers about itself, by question. The simulated phone
// answers from its device profile (DeviceProfile.h); the two questions the product asks
// are "UniqueDeviceID" (40 lower-case hexadecimal digits) and "ProductVersion" (the
// system version, "9.0"). Any other question has no answer here.

#include "foundation/CoreFoundation.h"

// The answer to `question`, owned by the caller; NULL for a question without an answer.
CFTypeRef MGCopyAnswer(CFStringRef question);
