#include "AccessGuard.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

constexpr std::size_t kTokenBytes = 32;

} // namespace

std::string makeAccessToken()
{
    std::array<unsigned char, kTokenBytes> bytes{};
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
        // A guessable token would open the panel to every page of the browser.
        std::fprintf(stderr, "browser screen: the system's random generator failed\n");
        std::abort();
    }
    std::string hex;
    for (unsigned char byte : bytes) {
        static const char kDigits[] = "0123456789abcdef";
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

AccessGuard::AccessGuard(std::string token, int port)
    : m_token(std::move(token)), m_origin("http://127.0.0.1:" + std::to_string(port)),
      m_host("127.0.0.1:" + std::to_string(port))
{
}

std::optional<AccessRefusal> AccessGuard::check(const RequestCredentials &request) const
{
    if (request.host != m_host)
        return AccessRefusal{403, "requests must be addressed to " + m_host};
    if (request.origin) {
        if (*request.origin != m_origin)
            return AccessRefusal{403, "requests from other origins are refused"};
    } else if (request.referer && !isOwnOrigin(*request.referer)) {
        return AccessRefusal{403, "requests from other origins are refused"};
    }
    const std::optional<std::string> &token =
        request.tokenHeader ? request.tokenHeader : request.tokenParameter;
    if (!token)
        return AccessRefusal{401, "the session token is missing"};
    if (!matchesToken(*token))
        return AccessRefusal{403, "the session token is wrong"};
    return std::nullopt;
}

// A URL of this origin: the origin itself, or followed by a path, query or fragment (so
// that "http://127.0.0.1:PORT0" or "…:PORT@evil" are not mistaken for it).
bool AccessGuard::isOwnOrigin(const std::string &url) const
{
    if (url.compare(0, m_origin.size(), m_origin) != 0)
        return false;
    if (url.size() == m_origin.size())
        return true;
    char next = url[m_origin.size()];
    return next == '/' || next == '?' || next == '#';
}

// Compares in constant time, so that the answer's timing says nothing about the token.
bool AccessGuard::matchesToken(const std::string &candidate) const
{
    return candidate.size() == m_token.size() &&
           CRYPTO_memcmp(candidate.data(), m_token.data(), m_token.size()) == 0;
}

} // namespace sim
