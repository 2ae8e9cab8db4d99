#pragma once
// NSString(CVHashing): digests of a string's UTF-8 bytes as lower-case hexadecimal text,
// two digits per byte. The category's methods are added to NSString when the library
// loads; each answers a new autoreleased string:
//
//     - (NSString *)md5String      // 32 characters
//     - (NSString *)sha1String     // 40
//     - (NSString *)sha256String   // 64
//     - (NSString *)sha512String   // 128
//
//     NSString *digest = msg<NSString *>(text, "sha1String"_sel);

#include "foundation/NSString.h"
