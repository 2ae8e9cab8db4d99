#include "settings-core/CVUsageReporter.h"

#include "darwin/notify.h"
#include "foundation/NSData.h"
#include "foundation/NSLog.h"
#include "foundation/NSNumber.h"
#include "foundation/NSURL.h"
#include "foundation/dispatch.h"
#include "foundation/sysctl.h"
#include "settings-core/CVDevice.h"
#include "settings-core/CVProcess.h"
#include "settings-core/NSString+CVHashing.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Whether a report of this process is on its way (set before it is queued, cleared when
// its answer has been handled).
std::atomic<bool> g_reportUnderWay{false};

NSString *packageIdentifier()
{
    return NSString::stringWithUTF8String(kCVUsagePackageIdentifier);
}

NSString *recordPath()
{
    return NSString::stringWithUTF8String(kCVUsageRecordPath);
}

NSString *orEmpty(NSString *text)
{
    return text ? text : NSString::stringWithString("");
}

// An object as text, as %@ writes it.
NSString *descriptionOf(id object)
{
    return msg<NSString *>(object, "description"_sel);
}

// The payload's value for `key` as text; empty when it has none.
NSString *valueFor(NSDictionary *payload, const char *key)
{
    id value = payload ? payload->objectForKey(NSString::stringWithUTF8String(key)) : nil;
    return orEmpty(descriptionOf(value));
}

NSString *digest(NSString *text, SEL selector)
{
    return msg<NSString *>(text, selector);
}

NSString *joined(NSString *first, NSString *second)
{
    return NSString::stringWithFormat("%@%@", first, second);
}

// The hardware model from sysctl "hw.machine"; empty when the system does not say.
NSString *hardwareModel()
{
    std::size_t size = 0;
    if (sysctlbyname("hw.machine", nullptr, &size, nullptr, 0) != 0 || size == 0)
        return orEmpty(nil);
    std::vector<char> machine(size);
    if (sysctlbyname("hw.machine", machine.data(), &size, nullptr, 0) != 0)
        return orEmpty(nil);
    machine.back() = '\0';
    return orEmpty(NSString::stringWithUTF8String(machine.data()));
}

// RFC 3986 percent-encoding of a query value: unreserved characters and the few
// delimiters that mean nothing inside a value stay as they are; '&', '=', '+', '#', '?',
// ';', spaces and every byte outside ASCII are encoded.
std::string percentEncoded(std::string_view text)
{
    static constexpr std::string_view kKept = "-._~!$'()*,:@/";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char byte : text) {
        bool alphanumeric = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                            (byte >= '0' && byte <= '9');
        if (alphanumeric || kKept.find(static_cast<char>(byte)) != std::string_view::npos) {
            encoded += static_cast<char>(byte);
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

// "?key=value&key=value…" in the report's order.
std::string queryOf(NSDictionary *report)
{
    std::string query;
    for (const auto &[key, value] : *report) {
        query += query.empty() ? '?' : '&';
        query += percentEncoded(descriptionOf(key)->str()) + "=" +
                 percentEncoded(descriptionOf(value)->str());
    }
    return query;
}

// Runs on the report's queue.
void deliverReport()
{
    AutoreleasePool pool;
    NSString *address = NSString::stringWithFormat(
        "%s%s", kCVUsageReportEndpoint, queryOf(CVUsageReporter::reportPayload()).c_str());
    NSURL *url = NSURL::URLWithString(address);
    NSLog("=> %@", url);
    NSError *error = nil;
    NSStringEncoding encoding = 0;
    NSString *content =
        msg<NSString *>(NSString::class_(), "stringWithContentsOfURL:usedEncoding:error:"_sel, url,
                        &encoding, &error);
    if (content && content->isEqualToString("ok"_ns) && !error)
        CVUsageReporter::markReported();
    else
        NSLog("[Corvane][ERROR]: Error contacting server: %@", error);
}

void reportAfterLaunch()
{
    if (g_reportUnderWay.load() || CVUsageReporter::hasReported())
        return;
    CVUsageReporter::sendReport();
}

namespace imp {

void load(id, SEL)
{
    CVUsageReporter::load();
}

BOOL hasReported(id, SEL)
{
    return CVUsageReporter::hasReported();
}

void sendReport(id, SEL)
{
    CVUsageReporter::sendReport();
}

NSDictionary *reportPayload(id, SEL)
{
    return CVUsageReporter::reportPayload();
}

NSString *signatureForPayload(id, SEL, NSDictionary *payload)
{
    return CVUsageReporter::signatureForPayload(payload);
}

void markReported(id, SEL)
{
    CVUsageReporter::markReported();
}

} // namespace imp

// The runtime sends +load to a class as the library that holds it loads. (A function of
// its own: clang 14 crashes printing the selector literal when it tries to evaluate the
// initializer at compile time.)
bool sendLoad()
{
    msg<void>(CVUsageReporter::class_(), "load"_sel);
    return true;
}

const bool kLoaded = sendLoad();

} // namespace

Class CVUsageReporter::class_()
{
    static const Class cls = ClassBuilder<CVUsageReporter>("CVUsageReporter", "NSObject")
                                 .classMethod("load", imp::load)
                                 .classMethod("hasReported", imp::hasReported)
                                 .classMethod("sendReport", imp::sendReport)
                                 .classMethod("reportPayload", imp::reportPayload)
                                 .classMethod("signatureForPayload:", imp::signatureForPayload)
                                 .classMethod("markReported", imp::markReported)
                                 .registerClass();
    return cls;
}

void CVUsageReporter::load()
{
    // Asking for the process first spares every other process a read of the record file.
    if (!CVIsSpringBoardProcess() || hasReported())
        return;
    int token = 0;
    notify_register_dispatch("SBSpringBoardDidLaunchNotification", &token,
                             dispatch_get_main_queue(), [](int) { reportAfterLaunch(); });
}

BOOL CVUsageReporter::hasReported()
{
    AutoreleasePool pool;
    NSDictionary *record = NSDictionary::dictionaryWithContentsOfFile(recordPath());
    return record && record->objectForKey(packageIdentifier()) != nil;
}

void CVUsageReporter::sendReport()
{
    // One queue for the life of the process: a launch that reports again reuses it.
    static const dispatch_queue_t queue = dispatch_queue_create(
        (std::string("com.kestrelworks.stats-") + kCVUsagePackageIdentifier).c_str(),
        DISPATCH_QUEUE_SERIAL);
    g_reportUnderWay = true;
    dispatch_async(queue, [] {
        deliverReport();
        g_reportUnderWay = false;
    });
}

NSDictionary *CVUsageReporter::reportPayload()
{
    NSMutableDictionary *report = NSMutableDictionary::dictionary();
    report->setObjectForKey(packageIdentifier(), "p"_ns);
    report->setObjectForKey(orEmpty(CVDevice::uniqueDeviceID()), "u"_ns);
    report->setObjectForKey(orEmpty(CVDevice::productVersion()), "v"_ns);
    report->setObjectForKey(
        NSString::stringWithFormat("%.2f", static_cast<double>(CVDevice::coreFoundationVersion())),
        "c"_ns);
    report->setObjectForKey(hardwareModel(), "m"_ns);
    report->setObjectForKey(signatureForPayload(report), "h"_ns);
    return report;
}

NSString *CVUsageReporter::signatureForPayload(NSDictionary *payload)
{
    NSString *u = valueFor(payload, "u");
    NSString *m = valueFor(payload, "m");
    NSString *p = valueFor(payload, "p");
    NSString *v = valueFor(payload, "v");
    NSString *c = valueFor(payload, "c");
    NSString *a = digest(joined(u, m), "sha1String"_sel);
    NSString *b = digest(joined(v, c), "sha1String"_sel);

    NSMutableString *material = NSMutableString::string();
    for (NSString *part : {a, digest(p, "md5String"_sel), digest(u, "sha512String"_sel),
                           digest(p, "sha1String"_sel), b})
        material->appendString(part);
    material->appendString(digest(material, "md5String"_sel));
    material->appendString(digest(material, "sha1String"_sel));
    return digest(digest(material, "sha512String"_sel), "sha1String"_sel);
}

void CVUsageReporter::markReported()
{
    AutoreleasePool pool;
    NSString *path = recordPath();
    NSDictionary *existing = NSDictionary::dictionaryWithContentsOfFile(path);
    NSMutableDictionary *record = existing ? NSMutableDictionary::dictionaryWithDictionary(existing)
                                           : NSMutableDictionary::dictionary();
    record->setObjectForKey(NSNumber::numberWithDouble(NSDate::date()->timeIntervalSince1970()),
                            packageIdentifier());
    // Atomically: a crash part-way must not lose the other packages' entries.
    if (!record->writeToFile(path, true))
        NSLog("[Corvane][ERROR]: Couldn't write the record file %@", path);
}
