// URLs and their loading over libcurl, within the network the device profile describes.

#include "foundation/NSURL.h"

#include "foundation/DeviceProfile.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>

namespace {

constexpr std::size_t kMaximumBodyBytes = 1 << 20;

struct CurlUrlDeleter {
    void operator()(CURLU *handle) const { curl_url_cleanup(handle); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

struct CurlEasyDeleter {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

// libcurl's global state, set up once before the first handle of any thread.
void initialiseCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The parsed URL, or nullptr when libcurl does not take the text as an absolute URL.
CurlUrl parsedURL(const std::string &text)
{
    initialiseCurl();
    CurlUrl handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, text.c_str(),
                                CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return nullptr;
    return handle;
}

std::optional<std::string> urlPart(CURLU *url, CURLUPart part)
{
    char *value = nullptr;
    if (curl_url_get(url, part, &value, 0) != CURLUE_OK || !value)
        return std::nullopt;
    std::string text = value;
    curl_free(value);
    return text;
}

bool isLoopbackHost(const std::string &host)
{
    if (host == "localhost" || host == "[::1]")
        return true;
    in_addr address{};
    return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

// Whether `url` lies under the route `from`: equal to it, or going on past a separator.
bool isUnder(const std::string &url, const std::string &from)
{
    if (!url.starts_with(from))
        return false;
    if (url.size() == from.size() || from.ends_with('/'))
        return true;
    char next = url[from.size()];
    return next == '/' || next == '?' || next == '#';
}

// The URL the request really goes to: through the longest route it lies under, else
// itself.
std::string routed(const std::string &url, const sim::DeviceProfile &profile)
{
    const std::pair<const std::string, std::string> *best = nullptr;
    for (const auto &route : profile.urlRoutes)
        if (isUnder(url, route.first) && (!best || route.first.size() > best->first.size()))
            best = &route;
    return best ? best->second + url.substr(best->first.size()) : url;
}

struct Response {
    CURLcode result = CURLE_OK;
    long status = 0;
    std::string body;
};

std::size_t appendBody(char *data, std::size_t size, std::size_t count, void *context)
{
    auto *body = static_cast<std::string *>(context);
    std::size_t bytes = size * count;
    if (body->size() + bytes > kMaximumBodyBytes)
        return 0; // libcurl ends the transfer with CURLE_WRITE_ERROR
    body->append(data, bytes);
    return bytes;
}

Response get(const std::string &url, double timeoutSeconds)
{
    Response response;
    CurlEasy easy(curl_easy_init());
    if (!easy) {
        response.result = CURLE_FAILED_INIT;
        return response;
    }
    CURL *handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(std::ceil(timeoutSeconds * 1000)));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &response.body);
    response.result = curl_easy_perform(handle);
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

struct Failure {
    NSInteger code;
    std::string text;
};

Failure failureOf(CURLcode result)
{
    switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
        return {NSURLErrorTimedOut, "The request timed out."};
    case CURLE_COULDNT_RESOLVE_HOST:
        return {NSURLErrorCannotFindHost,
                "A server with the specified hostname could not be found."};
    case CURLE_COULDNT_CONNECT:
        return {NSURLErrorCannotConnectToHost, "Could not connect to the server."};
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return {NSURLErrorUnsupportedURL, "unsupported URL"};
    case CURLE_WRITE_ERROR:
        return {NSURLErrorDataLengthExceedsMaximum, "resource exceeds maximum size"};
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return {NSURLErrorNetworkConnectionLost, "The network connection was lost."};
    default:
        return {NSURLErrorUnknown, curl_easy_strerror(result)};
    }
}

NSError *urlError(const Failure &failure, NSString *url)
{
    NSDictionary *userInfo = NSDictionary::dictionaryWithObjectsForKeys({
        {NSLocalizedDescriptionKey, NSString::stringWithString(failure.text)},
        {NSURLErrorFailingURLStringErrorKey, url},
    });
    return NSError::errorWithDomainCodeUserInfo(NSURLErrorDomain, failure.code, userInfo);
}

// Why the phone cannot fetch the URL at all, before any byte is sent; nullopt when it can,
// with the URL to send to in `target`.
std::optional<Failure> unreachable(const std::string &url, std::string &target)
{
    target = routed(url, *sim::DeviceProfile::current());
    CurlUrl parsed = parsedURL(target);
    std::optional<std::string> scheme =
        parsed ? urlPart(parsed.get(), CURLUPART_SCHEME) : std::nullopt;
    if (!scheme || (*scheme != "http" && *scheme != "https"))
        return failureOf(CURLE_UNSUPPORTED_PROTOCOL);
    std::optional<std::string> host = urlPart(parsed.get(), CURLUPART_HOST);
    if (!host || !isLoopbackHost(*host))
        return failureOf(CURLE_COULDNT_RESOLVE_HOST);
    return std::nullopt;
}

// The body as text: UTF-8 when it is, else each byte a Latin 1 character.
NSString *decoded(const std::string &body, NSStringEncoding &encoding)
{
    if (sim::isValidUTF8(body)) {
        encoding = NSUTF8StringEncoding;
        return NSString::stringWithString(body);
    }
    encoding = NSISOLatin1StringEncoding;
    std::string text;
    for (unsigned char byte : body) {
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return NSString::stringWithString(text);
}

NSString *absoluteStringMessage(NSURL *self, SEL)
{
    return self->absoluteString();
}

// Why a response that arrived is no content; nullopt when it is.
std::optional<Failure> failureOf(const Response &response)
{
    if (response.result != CURLE_OK)
        return failureOf(response.result);
    if (response.status < 200 || response.status > 299)
        return Failure{NSURLErrorBadServerResponse,
                       "The server answered with status " + std::to_string(response.status) + "."};
    return std::nullopt;
}

// +[NSString stringWithContentsOfURL:usedEncoding:error:]
NSString *stringWithContentsOfURL(id, SEL, NSURL *url, NSStringEncoding *usedEncoding,
                                  NSError **error)
{
    if (error)
        *error = nil;
    NSString *text = url ? url->absoluteString() : NSString::stringWithString("");
    std::string target;
    std::optional<Failure> failure = unreachable(text->str(), target);
    if (!failure) {
        Response response = get(target, sim::DeviceProfile::current()->urlRequestTimeout);
        failure = failureOf(response);
        if (!failure) {
            NSStringEncoding encoding = NSUTF8StringEncoding;
            NSString *content = decoded(response.body, encoding);
            if (usedEncoding)
                *usedEncoding = encoding;
            return content;
        }
    }
    if (error)
        *error = urlError(*failure, text);
    return nil;
}

// A function of its own: clang 14 crashes printing the selector literal when it tries to
// evaluate the initializer below at compile time.
bool registerURLLoading()
{
    class_addMethod(object_getClass(reinterpret_cast<id>(NSString::class_())),
                    "stringWithContentsOfURL:usedEncoding:error:"_sel,
                    reinterpret_cast<IMP>(stringWithContentsOfURL),
                    sim::encodeImplementation(stringWithContentsOfURL).c_str());
    return NSURL::class_() != Nil;
}

const bool kRegistered = registerURLLoading();

} // namespace

Class NSURL::class_()
{
    static const Class cls = ClassBuilder<NSURL>("NSURL", "NSObject")
                                 .method("absoluteString", absoluteStringMessage)
                                 .method("description", absoluteStringMessage)
                                 .registerClass();
    return cls;
}

NSURL *NSURL::URLWithString(NSString *string)
{
    if (!string || !parsedURL(string->str()))
        return nil;
    auto *url = sim::make<NSURL>(class_());
    url->m_string = NSString::stringWithString(string->str());
    return url;
}
