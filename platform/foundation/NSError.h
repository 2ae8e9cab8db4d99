#pragma once
// Errors as the platform reports them: a domain, a code within it and a dictionary of
// details (userInfo), whose NSLocalizedDescriptionKey entry is the text for people. A
// call that can fail hands its error back through an `NSError **` argument, autoreleased,
// and answers nil or NO. The description reads as the platform's does:
//
//     Error Domain=NSURLErrorDomain Code=-1001 "The request timed out." UserInfo={…}

#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"

struct NSError : NSObject {
    StrongRef<NSString> m_domain;
    NSInteger m_code = 0;
    StrongRef<NSDictionary> m_userInfo;

    static Class class_();
    // Autoreleased; a nil userInfo is an empty one.
    static NSError *errorWithDomainCodeUserInfo(NSString *domain, NSInteger code,
                                                NSDictionary *userInfo);

    NSString *domain() const { return m_domain; }
    NSInteger code() const { return m_code; }
    NSDictionary *userInfo() const { return m_userInfo; }
    // The userInfo's NSLocalizedDescriptionKey, else a text made of domain and code.
    NSString *localizedDescription() const;
};

extern NSString *const NSLocalizedDescriptionKey;

// URL loading's errors (NSURL.h).
extern NSString *const NSURLErrorDomain;
extern NSString *const NSURLErrorFailingURLStringErrorKey;

enum : NSInteger {
    NSURLErrorUnknown = -1,
    NSURLErrorTimedOut = -1001,
    NSURLErrorUnsupportedURL = -1002,
    NSURLErrorCannotFindHost = -1003,
    NSURLErrorCannotConnectToHost = -1004,
    NSURLErrorNetworkConnectionLost = -1005,
    NSURLErrorBadServerResponse = -1011,
    NSURLErrorDataLengthExceedsMaximum = -1103,
};
