#pragma once
// Who may use the browser screen's web server. The server listens on the loopback
// interface only, but any web page the user's browser has open could still send requests
// to 127.0.0.1; so every request must
//
// - carry the session token printed with the URL, as the query parameter "token" or the
//   header "X-Corvane-Token" (a page of another site cannot know it);
// - name this server in its Host header, so that a foreign name rebound to 127.0.0.1
//   finds nothing;
// - not come from a page of another origin: its Origin header, or its Referer when it
//   has no Origin, when present, is this server's own "http://127.0.0.1:PORT".
//
// A request that fails gets 401 (no token) or 403 (anything else); the checks never look
// at anything but those headers and the one query parameter.

#include <optional>
#include <string>

namespace sim {

// A new session token: 256 random bits from the system's generator, as 64 hex digits.
std::string makeAccessToken();

// What a request says about itself; empty where it has no such header or parameter.
struct RequestCredentials {
    std::optional<std::string> tokenParameter;
    std::optional<std::string> tokenHeader;
    std::optional<std::string> host;
    std::optional<std::string> origin;
    std::optional<std::string> referer;
};

struct AccessRefusal {
    int status; // 401 or 403
    std::string reason;
};

class AccessGuard {
public:
    AccessGuard(std::string token, int port);

    // Nothing when the request may proceed, else why not.
    std::optional<AccessRefusal> check(const RequestCredentials &request) const;

    const std::string &token() const { return m_token; }
    // "http://127.0.0.1:PORT", the only origin the server trusts.
    const std::string &origin() const { return m_origin; }

private:
    bool isOwnOrigin(const std::string &url) const;
    bool matchesToken(const std::string &candidate) const;

    std::string m_token;
    std::string m_origin;
    std::string m_host;
};

} // namespace sim
