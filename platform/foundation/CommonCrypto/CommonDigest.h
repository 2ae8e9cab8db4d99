#pragma once
// CommonCrypto's one-shot message digests, with the platform's interface: each hashes
// `len` bytes at `data` into `md`, which must hold the digest's length, and answers `md`.
// The platform computes them with OpenSSL; MD5 and SHA-1 are here for the interfaces that
// still name them, not for anything that needs to resist an attacker.

#include <cstdint>

using CC_LONG = std::uint32_t;

inline constexpr int CC_MD5_DIGEST_LENGTH = 16;
inline constexpr int CC_SHA1_DIGEST_LENGTH = 20;
inline constexpr int CC_SHA256_DIGEST_LENGTH = 32;
inline constexpr int CC_SHA512_DIGEST_LENGTH = 64;

extern "C" {

unsigned char *CC_MD5(const void *data, CC_LONG len, unsigned char *md);
unsigned char *CC_SHA1(const void *data, CC_LONG len, unsigned char *md);
unsigned char *CC_SHA256(const void *data, CC_LONG len, unsigned char *md);
unsigned char *CC_SHA512(const void *data, CC_LONG len, unsigned char *md);

} // extern "C"
