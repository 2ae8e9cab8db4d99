#include "uikit/UIImage.h"

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "uikit/PNGCodec.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>

namespace {

bool turnsAQuarter(UIImageOrientation orientation)
{
    switch (orientation) {
    case UIImageOrientationLeft:
    case UIImageOrientationRight:
    case UIImageOrientationLeftMirrored:
    case UIImageOrientationRightMirrored:
        return true;
    default:
        return false;
    }
}

// Which stored pixel of a width × height image the orientation shows at (x, y).
std::pair<std::size_t, std::size_t> storedPixelShownAt(UIImageOrientation orientation,
                                                       std::size_t x, std::size_t y,
                                                       std::size_t width, std::size_t height)
{
    switch (orientation) {
    case UIImageOrientationDown:
        return {width - 1 - x, height - 1 - y};
    case UIImageOrientationLeft:
        return {width - 1 - y, x};
    case UIImageOrientationRight:
        return {y, height - 1 - x};
    case UIImageOrientationUpMirrored:
        return {width - 1 - x, y};
    case UIImageOrientationDownMirrored:
        return {x, height - 1 - y};
    case UIImageOrientationLeftMirrored:
        return {y, x};
    case UIImageOrientationRightMirrored:
        return {width - 1 - y, height - 1 - x};
    default:
        return {x, y};
    }
}

std::optional<std::vector<std::uint8_t>> readFile(const std::string &hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

UIImage *imageFromPNG(const std::uint8_t *bytes, std::size_t length, CGFloat scale)
{
    StrongRef<CGImage> image = StrongRef<CGImage>::adopt(sim::createImageFromPNG(bytes, length));
    return UIImage::imageWithCGImageScaleOrientation(image, scale, UIImageOrientationUp);
}

// "icon@2x.png" was made for 2 pixels per point; a name without the suffix for 1.
CGFloat scaleOfFileName(const std::string &path)
{
    static const std::regex suffix(R"(@([1-9])x(\.[A-Za-z]+)?$)");
    std::smatch match;
    return std::regex_search(path, match, suffix) ? std::stod(match[1]) : 1;
}

std::string withScaleSuffix(const std::string &path, int scale)
{
    std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = path.size();
    return path.substr(0, dot) + "@" + std::to_string(scale) + "x" + path.substr(dot);
}

namespace imp {

UIImage *imageWithCGImage(id, SEL, CGImageRef image)
{
    return UIImage::imageWithCGImageScaleOrientation(image, 1, UIImageOrientationUp);
}

UIImage *imageWithCGImageScaleOrientation(id, SEL, CGImageRef image, CGFloat scale,
                                          UIImageOrientation orientation)
{
    return UIImage::imageWithCGImageScaleOrientation(image, scale, orientation);
}

UIImage *initWithCGImageScaleOrientation(UIImage *self, SEL, CGImageRef image, CGFloat scale,
                                         UIImageOrientation orientation)
{
    if (!image) {
        objc_release(self);
        return nil;
    }
    self->m_image = image;
    self->m_scale = scale > 0 ? scale : 1;
    self->m_orientation = orientation;
    return self;
}

UIImage *imageWithContentsOfFile(id, SEL, NSString *path)
{
    return UIImage::imageWithContentsOfFile(path);
}

UIImage *imageWithData(id, SEL, NSData *data)
{
    return UIImage::imageWithData(data);
}

CGImageRef cgImage(UIImage *self, SEL)
{
    return self->CGImage();
}

CGSize size(UIImage *self, SEL)
{
    return self->size();
}

CGFloat scale(UIImage *self, SEL)
{
    return self->m_scale;
}

} // namespace imp

const Class kRegistered = UIImage::class_();

} // namespace

Class UIImage::class_()
{
    static const Class cls =
        ClassBuilder<UIImage>("UIImage", "NSObject")
            .classMethod("imageWithCGImage:", imp::imageWithCGImage)
            .classMethod("imageWithCGImage:scale:orientation:",
                         imp::imageWithCGImageScaleOrientation)
            .classMethod("imageWithContentsOfFile:", imp::imageWithContentsOfFile)
            .classMethod("imageWithData:", imp::imageWithData)
            .method("initWithCGImage:scale:orientation:", imp::initWithCGImageScaleOrientation)
            .method("CGImage", imp::cgImage)
            .method("size", imp::size)
            .method("scale", imp::scale)
            .getter<&UIImage::m_orientation>("imageOrientation")
            .registerClass();
    return cls;
}

UIImage *UIImage::imageWithCGImageScaleOrientation(CGImageRef image, CGFloat scale,
                                                   UIImageOrientation orientation)
{
    id made = msg<id, CGImageRef, CGFloat, UIImageOrientation>(
        msg<id>(class_(), "alloc"_sel), "initWithCGImage:scale:orientation:"_sel, image, scale,
        orientation);
    return static_cast<UIImage *>(autorelease(made));
}

UIImage *UIImage::imageWithContentsOfFile(NSString *path)
{
    if (!path)
        return nil;
    std::string host = sim::hostPath(path->str());
    int screenScale = static_cast<int>(std::lround(sim::DeviceProfile::current()->screenScale));
    if (screenScale > 1 && scaleOfFileName(host) == 1) {
        std::string scaled = withScaleSuffix(host, screenScale);
        if (auto bytes = readFile(scaled))
            return imageFromPNG(bytes->data(), bytes->size(), screenScale);
    }
    auto bytes = readFile(host);
    return bytes ? imageFromPNG(bytes->data(), bytes->size(), scaleOfFileName(host)) : nil;
}

UIImage *UIImage::imageWithData(NSData *data)
{
    if (!data)
        return nil;
    return imageFromPNG(static_cast<const std::uint8_t *>(data->bytes()), data->length(), 1);
}

CGSize UIImage::size() const
{
    CGFloat width = CGImageGetWidth(m_image) / m_scale;
    CGFloat height = CGImageGetHeight(m_image) / m_scale;
    return turnsAQuarter(m_orientation) ? CGSizeMake(height, width) : CGSizeMake(width, height);
}

NSData *UIImagePNGRepresentation(UIImage *image)
{
    if (!image)
        return nil;
    std::optional<std::vector<std::uint8_t>> png = sim::encodePNG(image->CGImage());
    return png ? NSData::dataWithBytes(png->data(), png->size()) : nil;
}

namespace sim {

CGImageRef createUprightImage(CGImageRef image, UIImageOrientation orientation)
{
    if (!image)
        return nil;
    if (orientation == UIImageOrientationUp)
        return CGImageRetain(image);
    std::size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    bool quarter = turnsAQuarter(orientation);
    std::size_t shownWidth = quarter ? height : width, shownHeight = quarter ? width : height;
    const std::vector<std::uint8_t> &stored = pixelsOf(image);
    std::vector<std::uint8_t> shown(stored.size());
    for (std::size_t y = 0; y < shownHeight; ++y)
        for (std::size_t x = 0; x < shownWidth; ++x) {
            auto [sx, sy] = storedPixelShownAt(orientation, x, y, width, height);
            std::copy_n(stored.data() + (sy * width + sx) * 4, 4,
                        shown.data() + (y * shownWidth + x) * 4);
        }
    return imageFromPixels(shownWidth, shownHeight, std::move(shown));
}

bool writePNG(UIImage *image, const std::string &hostPath)
{
    std::optional<std::vector<std::uint8_t>> png =
        image ? encodePNG(image->CGImage()) : std::nullopt;
    if (!png)
        return false;
    std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(png->data()),
               static_cast<std::streamsize>(png->size()));
    return static_cast<bool>(file.flush());
}

} // namespace sim
