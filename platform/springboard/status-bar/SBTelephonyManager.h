#pragma once
// SpringBoard's telephony manager: the cellular network's operator name, which the status
// bar's carrier item shows. The name is the device profile's carrier until someone sets
// another (`setOperatorName:`, which the network does when the phone changes carrier);
// each change has the status bar aggregator update its service item.

#include "foundation/NSString.h"

struct SBTelephonyManager : NSObject {
    StrongRef<NSString> m_operatorName; // nil: the device profile's carrier

    static Class class_();
};

namespace sim {
void registerTelephonyManagerClass();
} // namespace sim
