#include "ContactSheet.h"

#include "uikit/TextLayout.h"
#include "uikit/UIFont.h"
#include "uikit/UIGraphics.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace sim {

namespace {

constexpr CGFloat kThumbnailWidth = 160;
constexpr CGFloat kCaptionHeight = 34; // two lines of kCaptionSize
constexpr CGFloat kCaptionSize = 12;
constexpr CGFloat kGap = 12;
constexpr CGFloat kGround = 0.12; // grey level of the sheet

// UIKit's image contexts are flipped, under which CGContextDrawImage draws upside down.
void drawUpright(CGContextRef context, CGImageRef image, CGRect rect)
{
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, rect.origin.x, rect.origin.y + rect.size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextDrawImage(context, {{0, 0}, rect.size}, image);
    CGContextRestoreGState(context);
}

TextStyle captionStyle()
{
    TextStyle style;
    style.font = UIFont::systemFontOfSize(kCaptionSize);
    style.pointSize = kCaptionSize;
    style.red = style.green = style.blue = 0.92;
    style.alignment = TextAlignment::Center;
    style.numberOfLines = 2;
    return style;
}

} // namespace

UIImage *makeContactSheet(const std::vector<ContactSheetEntry> &entries, int columns)
{
    if (entries.empty() || columns < 1)
        return nil;
    CGImageRef first = entries.front().image;
    CGFloat thumbnailHeight = std::round(kThumbnailWidth * CGFloat(CGImageGetHeight(first)) /
                                         CGFloat(CGImageGetWidth(first)));
    auto rows = static_cast<int>((entries.size() + columns - 1) / columns);
    CGSize cell = {kThumbnailWidth + kGap, thumbnailHeight + kCaptionHeight + kGap};
    CGSize sheet = {kGap + columns * cell.width, kGap + rows * cell.height};

    UIGraphicsBeginImageContextWithOptions(sheet, YES, 1);
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetRGBFillColor(context, kGround, kGround, kGround, 1);
    CGContextFillRect(context, {{0, 0}, sheet});
    TextStyle style = captionStyle();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        CGPoint origin = {kGap + CGFloat(index % columns) * cell.width,
                          kGap + CGFloat(index / columns) * cell.height};
        drawUpright(context, entries[index].image, {origin, {kThumbnailWidth, thumbnailHeight}});
        drawText(context, entries[index].caption, style,
                 {{origin.x, origin.y + thumbnailHeight}, {kThumbnailWidth, kCaptionHeight}});
    }
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

UIImage *readPNG(const std::string &hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return nil;
    std::vector<char> bytes(std::istreambuf_iterator<char>(file), {});
    // Data cut short, or not a PNG, decodes to nil.
    return UIImage::imageWithData(NSData::dataWithBytes(bytes.data(), bytes.size()));
}

} // namespace sim
