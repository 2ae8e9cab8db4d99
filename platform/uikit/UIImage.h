#pragma once
// Images as views show them: a CGImage, the scale its pixels were made for (2 on a
// screen of two pixels per point) and the orientation in which to show them. The size
// in points is the pixel size divided by the scale, with width and height swapped for
// the orientations that turn the image a quarter.
//
// Files are PNG. A file or data that is not a readable PNG gives nil, never a crash.

#include "foundation/NSData.h"
#include "foundation/NSString.h"
#include "quartzcore/CGImage.h"

#include <string>

enum UIImageOrientation : NSInteger {
    UIImageOrientationUp,
    UIImageOrientationDown,
    UIImageOrientationLeft,
    UIImageOrientationRight,
    UIImageOrientationUpMirrored,
    UIImageOrientationDownMirrored,
    UIImageOrientationLeftMirrored,
    UIImageOrientationRightMirrored,
};

// Held by an alias, because the class names a method after the type.
using CGImageHolder = StrongRef<CGImage>;

struct UIImage : NSObject {
    CGImageHolder m_image;
    CGFloat m_scale = 1;
    UIImageOrientation m_orientation = UIImageOrientationUp;

    static Class class_();

    // Autoreleased; nil for a nil image.
    static UIImage *imageWithCGImageScaleOrientation(CGImageRef image, CGFloat scale,
                                                     UIImageOrientation orientation);
    // A phone path. Where the screen has more than one pixel per point and the name
    // carries no scale, "name@2x.png" beside it is preferred, as on the phone.
    static UIImage *imageWithContentsOfFile(NSString *path);
    static UIImage *imageWithData(NSData *data);

    CGImageRef CGImage() const { return m_image.get(); }
    CGSize size() const;
};

extern "C" {
// The image as PNG data (autoreleased), or nil for nil.
NSData *UIImagePNGRepresentation(UIImage *image);
}

namespace sim {
// The pixels as the orientation shows them upright: the stored image turned and flipped
// (Left turns it a quarter counter-clockwise, Right a quarter clockwise, Down a half, the
// mirrored forms flip it left to right first, as the platform's image orientations mean).
// The caller owns the answer; nil for nil.
CGImageRef createUprightImage(CGImageRef image, UIImageOrientation orientation);

// Writes the image as a PNG file at a host path; false when it cannot be written.
[[nodiscard]] bool writePNG(UIImage *image, const std::string &hostPath);
} // namespace sim
