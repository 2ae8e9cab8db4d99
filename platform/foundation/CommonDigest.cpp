// CommonCrypto's digests over OpenSSL's EVP interface (its one-shot MD5 and SHA calls are
// deprecated in OpenSSL 3).

#include "foundation/CommonCrypto/CommonDigest.h"

#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A digest that cannot be computed leaves no sensible answer to give; OpenSSL fails only
// when its default provider is missing, which is a broken installation.
unsigned char *digest(const EVP_MD *kind, const char *name, const void *data, CC_LONG len,
                      unsigned char *md)
{
    if (!md)
        return nullptr;
    static const unsigned char kNothing = 0;
    if (!EVP_Digest(data ? data : &kNothing, len, md, nullptr, kind, nullptr)) {
        std::fprintf(stderr, "CommonDigest: OpenSSL cannot compute %s\n", name);
        std::abort();
    }
    return md;
}

} // namespace

unsigned char *CC_MD5(const void *data, CC_LONG len, unsigned char *md)
{
    return digest(EVP_md5(), "CC_MD5", data, len, md);
}

unsigned char *CC_SHA1(const void *data, CC_LONG len, unsigned char *md)
{
    return digest(EVP_sha1(), "CC_SHA1", data, len, md);
}

unsigned char *CC_SHA256(const void *data, CC_LONG len, unsigned char *md)
{
    return digest(EVP_sha256(), "CC_SHA256", data, len, md);
}

unsigned char *CC_SHA512(const void *data, CC_LONG len, unsigned char *md)
{
    return digest(EVP_sha512(), "CC_SHA512", data, len, md);
}
