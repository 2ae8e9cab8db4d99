#pragma once
// Copying immutable objects: an object that never changes is its own copy, so -copy of
// NSString, NSNumber, NSArray, NSDictionary, NSData and NSDate answers the receiver,
// retained (the caller owns a copy). Their mutable subclasses register copies of their own.

#include "objc/NSObject.h"

namespace sim {

inline id copyByRetaining(id self, SEL)
{
    return objc_retain(self);
}

} // namespace sim
