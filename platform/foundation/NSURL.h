#pragma once
// URLs, and fetching one's content over the simulated phone's network.
//
// NSString's class method, registered with NSURL and sent as a message,
//
//     NSStringEncoding encoding = 0;
//     NSError *error = nil;
//     NSString *content = msg<NSString *>(NSString::class_(),
//         "stringWithContentsOfURL:usedEncoding:error:"_sel, url, &encoding, &error);
//
// fetches an http or https URL
// synchronously with libcurl, on the calling thread, and answers the body as text: UTF-8
// when it is valid UTF-8, else ISO Latin 1, with the encoding it used. It fails with an
// NSError of NSURLErrorDomain (and answers nil) when the host cannot be reached, the
// connection breaks, the server answers a status other than 2xx, the body exceeds 1 MiB,
// or the request takes longer than the device profile's urlRequestTimeout (60 seconds
// unless the profile says otherwise), so a server that never answers holds its caller for
// that long at most. Redirects are not followed and no proxy is used.
//
// The network beyond the phone is the device profile's (DeviceProfile.h): a URL under one
// of its routes goes to the route's target; apart from that the phone reaches loopback
// hosts only (localhost, 127.0.0.0/8, ::1), and any other host is one that cannot be
// found. A simulated phone thus never talks to the outside world by accident.

#include "foundation/NSError.h"
#include "foundation/NSString.h"

// Text encodings, as the platform numbers them.
using NSStringEncoding = NSUInteger;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;
inline constexpr NSStringEncoding NSISOLatin1StringEncoding = 5;

struct NSURL : NSObject {
    StrongRef<NSString> m_string;

    static Class class_();
    // Autoreleased; nil when the text is not an absolute URL (a scheme, and nothing that a
    // URL must not hold, such as a space).
    static NSURL *URLWithString(NSString *string);

    NSString *absoluteString() const { return m_string; }
};
