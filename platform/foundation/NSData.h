#pragma once
// Byte buffers and points in time.
//
// NSData either owns a copy of its bytes or, made with dataWithBytesNoCopy, refers to
// bytes that its creator keeps alive for as long as the data object is used (the reload
// service wraps a received message's bytes this way, without copying).

#include "objc/ClassBuilder.h"

#include <cstdint>
#include <vector>

struct NSData : NSObject {
    std::vector<std::uint8_t> m_storage;
    const std::uint8_t *m_bytes = nullptr;
    NSUInteger m_length = 0;

    static Class class_();
    static NSData *dataWithBytes(const void *bytes, NSUInteger length);
    // Refers to the bytes without copying; the caller keeps them alive.
    static NSData *dataWithBytesNoCopy(const void *bytes, NSUInteger length);

    const void *bytes() const { return m_bytes; }
    NSUInteger length() const { return m_length; }
    bool isEqualToData(const NSData *other) const;
};

using NSTimeInterval = double;

// Seconds between 1970 and the platform's reference date, 1 January 2001.
inline constexpr NSTimeInterval NSTimeIntervalSince1970 = 978307200.0;

struct NSDate : NSObject {
    NSTimeInterval m_since1970 = 0;

    static Class class_();
    // Now, on the process clock (virtual in tests and scripted runs).
    static NSDate *date();
    static NSDate *dateWithTimeIntervalSince1970(NSTimeInterval seconds);
    static NSDate *dateWithTimeIntervalSinceNow(NSTimeInterval seconds);

    NSTimeInterval timeIntervalSince1970() const { return m_since1970; }
    NSTimeInterval timeIntervalSinceReferenceDate() const
    {
        return m_since1970 - NSTimeIntervalSince1970;
    }
    NSTimeInterval timeIntervalSinceNow() const;
};
