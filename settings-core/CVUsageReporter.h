#pragma once
// CVUsageReporter: the usage report, sent once per device. When the library loads inside
// SpringBoard on a device that has not reported yet, the reporter waits for SpringBoard's
// launch notification and then, on a serial queue of its own, sends one HTTP GET to the
// statistics endpoint with six query values: the package, the device's identifier, the
// system version, the Core Foundation version, the hardware model and a digest over them
// ("p", "u", "v", "c", "m", "h", in that order). An answer of exactly "ok" is recorded in
// the hidden record file, a property-list dictionary from package identifier to the time
// (seconds since 1970) of the accepted report, and no report is sent from that device
// again. Any other outcome logs one error line and is tried again at the next launch.
//
// Query values are percent-encoded, so a value holding '&', '=', '#' or a space arrives
// as it was; the values a device gives ("9.0", "iPhone8,1", hexadecimal digits) read the
// same encoded or not. The record file is written atomically and keeps the entries of
// other packages.
//
// The class methods are registered when the library loads, and +load is sent then, as
// the runtime sends it; C++ callers call the static members, which are the same methods
// without a message.

#include "objc/ClassBuilder.h"

struct NSDictionary;
struct NSString;

// The package whose use is reported, and where its reports go.
inline constexpr const char *kCVUsagePackageIdentifier = "com.kestrelworks.corvane3";
inline constexpr const char *kCVUsageReportEndpoint =
    "http://stats.kestrelworks.com/stats/collect.php";
inline constexpr const char *kCVUsageRecordPath =
    "/var/mobile/Library/Preferences/.com.kestrelworks.stats.plist";

struct CVUsageReporter : NSObject {
    static Class class_();

    // +load: inside SpringBoard, unless the device has reported, registers for
    // "SBSpringBoardDidLaunchNotification"; the handler sends the report unless the device
    // has reported meanwhile or a report of this process is still under way (SpringBoard
    // may launch again in a process that keeps the library loaded).
    static void load();
    // +hasReported: YES when the record file has an entry for the package.
    static BOOL hasReported();
    // +sendReport: builds and sends the report on the queue
    // "com.kestrelworks.stats-com.kestrelworks.corvane3"; returns at once.
    static void sendReport();
    // +reportPayload: the six values, "h" last, autoreleased.
    static NSDictionary *reportPayload();
    // +signatureForPayload: the digest "h" (40 lower-case hexadecimal digits) of a payload
    // holding "p", "u", "v", "c" and "m"; a missing value counts as empty text.
    static NSString *signatureForPayload(NSDictionary *payload);
    // +markReported: sets the package's entry of the record file to now.
    static void markReported();
};
