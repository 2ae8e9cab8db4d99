// CommonCrypto's digests against the published test vectors of RFC 1321 (MD5) and
// FIPS 180 (SHA-1, SHA-256, SHA-512).

#include "foundation/CommonCrypto/CommonDigest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

namespace {

using Digest = unsigned char *(*)(const void *, CC_LONG, unsigned char *);

std::string hexDigest(Digest function, int length, const void *data, std::size_t size)
{
    unsigned char digest[CC_SHA512_DIGEST_LENGTH] = {};
    EXPECT_EQ(function(data, static_cast<CC_LONG>(size), digest), digest)
        << "the digest goes where the caller asked";
    std::string text;
    char pair[3];
    for (int index = 0; index < length; ++index) {
        std::snprintf(pair, sizeof pair, "%02x", digest[index]);
        text += pair;
    }
    return text;
}

TEST(CommonDigest, DigestsMatchThePublishedVectors)
{
    const std::tuple<Digest, int, std::string, std::string> vectors[] = {
        {CC_MD5, CC_MD5_DIGEST_LENGTH, "", "d41d8cd98f00b204e9800998ecf8427e"},
        {CC_MD5, CC_MD5_DIGEST_LENGTH, "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {CC_SHA1, CC_SHA1_DIGEST_LENGTH, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {CC_SHA1, CC_SHA1_DIGEST_LENGTH, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {CC_SHA256, CC_SHA256_DIGEST_LENGTH, "abc",
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {CC_SHA256, CC_SHA256_DIGEST_LENGTH, "",
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {CC_SHA512, CC_SHA512_DIGEST_LENGTH, "abc",
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
    };
    for (const auto &[function, length, input, expected] : vectors)
        EXPECT_EQ(hexDigest(function, length, input.data(), input.size()), expected) << input;
    EXPECT_EQ(hexDigest(CC_SHA1, CC_SHA1_DIGEST_LENGTH, nullptr, 0),
              hexDigest(CC_SHA1, CC_SHA1_DIGEST_LENGTH, "", 0))
        << "no bytes at all hash like the empty message";
}

} // namespace
