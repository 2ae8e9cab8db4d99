#pragma once
// Everything the Foundation stand-in offers, for code that wants it all.

#include "foundation/CoreFoundation.h"
#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
