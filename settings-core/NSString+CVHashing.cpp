#include "settings-core/NSString+CVHashing.h"

#include "foundation/CommonCrypto/CommonDigest.h"

#include <cstdio>

namespace {

using CCDigestFunction = unsigned char *(*)(const void *, CC_LONG, unsigned char *);

// Strings the usage report hashes are a few hundred bytes, far below CC_LONG's range.
template <CCDigestFunction Digest, int Length> NSString *hexDigest(NSString *self, SEL)
{
    unsigned char digest[Length];
    Digest(self->UTF8String(), static_cast<CC_LONG>(self->str().size()), digest);
    char text[Length * 2 + 1];
    for (int index = 0; index < Length; ++index)
        std::snprintf(text + index * 2, 3, "%02x", digest[index]);
    return NSString::stringWithUTF8String(text);
}

void addHashingMethod(const char *selector, NSString *(*implementation)(NSString *, SEL))
{
    // An object answer, then self and _cmd: the encoding the phone's compiler gives it.
    class_addMethod(NSString::class_(), sel_registerName(selector),
                    reinterpret_cast<IMP>(implementation), "@@:");
}

const bool kCategoryAdded = [] {
    addHashingMethod("md5String", hexDigest<CC_MD5, CC_MD5_DIGEST_LENGTH>);
    addHashingMethod("sha1String", hexDigest<CC_SHA1, CC_SHA1_DIGEST_LENGTH>);
    addHashingMethod("sha256String", hexDigest<CC_SHA256, CC_SHA256_DIGEST_LENGTH>);
    addHashingMethod("sha512String", hexDigest<CC_SHA512, CC_SHA512_DIGEST_LENGTH>);
    return true;
}();

} // namespace
