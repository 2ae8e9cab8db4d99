// Drawing: labels, image contexts, PNG files, screen images, image views.

#include "UIKitTest.h"
#include "foundation/DeviceRoot.h"
#include "uikit/Snapshot.h"
#include "uikit/UIGraphics.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class Drawing : public UIKitTest {};

int inkedPixels(CGImageRef image)
{
    int count = 0;
    const auto &bytes = sim::pixelsOf(image);
    for (std::size_t i = 3; i < bytes.size(); i += 4)
        count += bytes[i] != 0;
    return count;
}

// A 10 × 10 point image, red on its left half and clear on its right, at 2× scale.
UIImage *halfRedImage()
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), NO, 2);
    CGContextSetRGBFillColor(UIGraphicsGetCurrentContext(), 1, 0, 0, 1);
    CGContextFillRect(UIGraphicsGetCurrentContext(), CGRectMake(0, 0, 5, 10));
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

UILabel *labelSaying(NSString *text)
{
    auto *label = makeView<UILabel>(UILabel::class_(), CGRectMake(0, 0, 100, 30));
    msg<void>(label, "setText:"_sel, text);
    return label;
}

TEST_F(Drawing, ALabelDrawsItsTextAtTheScreenScaleSizesToItAndHonoursBoldText)
{
    UILabel *label = labelSaying("Hello"_ns);
    sim::displayPendingLayers(label->layer());
    CGImageRef contents = label->layer()->contents();
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(CGImageGetWidth(contents), 200u);
    EXPECT_EQ(CGImageGetHeight(contents), 60u);
    int regular = inkedPixels(contents);
    EXPECT_GT(regular, 100);
    // Left-aligned and short: the right end of the label stays clear.
    for (std::size_t y = 0; y < 60; ++y)
        EXPECT_EQ(pixelAt(contents, 195, y).alpha, 0);

    // An empty label draws nothing at all.
    UILabel *empty = labelSaying(nil);
    sim::displayPendingLayers(empty->layer());
    EXPECT_EQ(inkedPixels(empty->layer()->contents()), 0);

    // A label sizes to its text and honours bold text.
    msg<void>(label, "sizeToFit"_sel);
    CGRect bounds = msg<CGRect>(label, "bounds"_sel);
    EXPECT_GT(bounds.size.width, 20);
    EXPECT_LT(bounds.size.width, 100);
    EXPECT_GT(bounds.size.height, 15);

    sim::DeviceProfile bold = *sim::DeviceProfile::current();
    bold.boldText = true;
    sim::DeviceProfile::setCurrent(bold);
    UILabel *boldLabel = labelSaying("Hello"_ns);
    sim::displayPendingLayers(boldLabel->layer());
    EXPECT_GT(inkedPixels(boldLabel->layer()->contents()), regular);
}

TEST_F(Drawing, ImageContextsDrawWithTheOriginAtTheTopLeft)
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 10), NO, 2);
    CGContextRef context = UIGraphicsGetCurrentContext();
    ASSERT_NE(context, nullptr);
    CGContextSetRGBFillColor(context, 0, 0, 1, 1);
    CGContextFillRect(context, CGRectMake(0, 0, 10, 2)); // a band along the top
    UIImage *image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);

    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image->CGImage()), 20u); // ten points at two pixels each
    EXPECT_EQ(pixelAt(image->CGImage(), 5, 0), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(image->CGImage(), 5, 3), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(image->CGImage(), 5, 4), (Pixel{0, 0, 0, 0}));
    // Outside an image context there is no image to take.
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nullptr);
}

TEST_F(Drawing, PNGDataAndFilesRoundTripAndAnythingElseGivesNil)
{
    UIImage *image = halfRedImage();
    NSData *png = UIImagePNGRepresentation(image);
    ASSERT_NE(png, nullptr);
    UIImage *decoded = msg<UIImage *>(UIImage::class_(), "imageWithData:"_sel, png);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(sim::pixelsOf(decoded->CGImage()), sim::pixelsOf(image->CGImage()));
    EXPECT_EQ(pixelAt(decoded->CGImage(), 2, 2), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(decoded->CGImage(), 15, 2), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(UIImagePNGRepresentation(nil), nullptr);

    const char garbage[] = "certainly not an image";
    NSData *truncated = NSData::dataWithBytes(png->bytes(), png->length() / 2);
    for (NSData *data :
         {NSData::dataWithBytes(garbage, sizeof garbage), NSData::dataWithBytes(png->bytes(), 8),
          truncated, NSData::dataWithBytes(nullptr, 0)})
        EXPECT_EQ(msg<UIImage *>(UIImage::class_(), "imageWithData:"_sel, data), nullptr);
    EXPECT_EQ(msg<UIImage *>(UIImage::class_(), "imageWithData:"_sel, nil), nullptr);

    // Files load from the device root, preferring the screen's scale.
    std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("uikit-images-" + std::to_string(getpid()));
    sim::setDeviceRoot(root.string());
    ASSERT_TRUE(sim::makeDirectories((root / "Library/Icons").string()));
    ASSERT_TRUE(sim::writePNG(image, (root / "Library/Icons/page@2x.png").string()));
    ASSERT_TRUE(sim::writePNG(image, (root / "Library/Icons/plain.png").string()));

    UIImage *scaled = msg<UIImage *>(UIImage::class_(), "imageWithContentsOfFile:"_sel,
                                     "/Library/Icons/page.png"_ns);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->m_scale, 2);
    EXPECT_EQ(scaled->size().width, 10);
    UIImage *plain = msg<UIImage *>(UIImage::class_(), "imageWithContentsOfFile:"_sel,
                                    "/Library/Icons/plain.png"_ns);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_scale, 1);
    EXPECT_EQ(plain->size().width, 20);
    EXPECT_EQ(msg<UIImage *>(UIImage::class_(), "imageWithContentsOfFile:"_sel,
                             "/Library/Icons/missing.png"_ns),
              nullptr);
    EXPECT_FALSE(sim::writePNG(image, (root / "no/such/dir/x.png").string()));
    std::filesystem::remove_all(root);
}

TEST_F(Drawing, TheScreenImageStacksVisibleWindowsByLevelAndViewsSnapshotAlone)
{
    CGRect screen = UIScreen::mainScreen()->bounds();
    auto *low = makeView<UIWindow>(UIWindow::class_(), screen);
    auto *high = makeView<UIWindow>(UIWindow::class_(), CGRectMake(0, 0, 100, 100));
    auto *hidden = makeView<UIWindow>(UIWindow::class_(), screen);
    msg<void>(low, "setBackgroundColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1));
    msg<void>(high, "setBackgroundColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1));
    msg<void>(hidden, "setBackgroundColor:"_sel, UIColor::whiteColor());
    msg<void, CGFloat>(high, "setWindowLevel:"_sel, UIWindowLevelAlert);
    // The higher window is shown first; its level, not its order, puts it on top.
    msg<void>(high, "makeKeyAndVisible"_sel);
    msg<void>(low, "makeKeyAndVisible"_sel);
    EXPECT_EQ(msg<UIWindow *>(UIWindow::class_(), "keyWindow"_sel), low);

    StrongRef<CGImage> image = StrongRef<CGImage>::adopt(sim::snapshotOfScreen());
    ASSERT_NE(image.get(), nullptr);
    EXPECT_EQ(CGImageGetWidth(image), 640u);
    EXPECT_EQ(CGImageGetHeight(image), 1136u);
    EXPECT_EQ(pixelAt(image, 100, 100), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(image, 300, 600), (Pixel{255, 0, 0, 255}));

    // A view's snapshot shows the view in its own bounds and leaves it in its place.
    UIView *parent = makeView(CGRectMake(0, 0, 200, 200));
    UIView *view = makeView(CGRectMake(50, 60, 40, 20));
    UIView *inner = makeView(CGRectMake(0, 0, 10, 20));
    msg<void>(parent, "addSubview:"_sel, view);
    msg<void>(view, "addSubview:"_sel, inner);
    msg<void>(view, "setBackgroundColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(0, 1, 0, 1));
    msg<void>(inner, "setBackgroundColor:"_sel, UIColor::blackColor());

    auto *snapshot = msg<UIView *, BOOL>(view, "snapshotViewAfterScreenUpdates:"_sel, YES);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_RECT_EQ(msg<CGRect>(snapshot, "frame"_sel), 0, 0, 40, 20);
    CGImageRef shot = snapshot->layer()->contents();
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(CGImageGetWidth(shot), 80u);
    EXPECT_EQ(pixelAt(shot, 5, 5), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot, 60, 5), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(view->layer()->superlayer(), parent->layer());
    EXPECT_EQ(msg<UIView *>(view, "superview"_sel), parent);
}

// An image view shows its image upright: the 2 × 2 pixels a b / c d in each orientation.
TEST_F(Drawing, AnImageViewShowsTheImageUprightInItsOrientation)
{
    const Pixel a{255, 0, 0, 255}, b{0, 255, 0, 255}, c{0, 0, 255, 255}, d{255, 255, 255, 255};
    std::vector<std::uint8_t> bytes;
    for (Pixel p : {a, b, c, d})
        bytes.insert(bytes.end(), {std::uint8_t(p.red), std::uint8_t(p.green), std::uint8_t(p.blue),
                                   std::uint8_t(p.alpha)});
    auto pixels = StrongRef<CGImage>::adopt(sim::imageFromPixels(2, 2, bytes));
    struct Case {
        UIImageOrientation orientation;
        Pixel topLeft, topRight, bottomLeft, bottomRight;
    };
    for (Case k :
         {Case{UIImageOrientationUp, a, b, c, d}, Case{UIImageOrientationDown, d, c, b, a},
          Case{UIImageOrientationLeft, b, d, a, c}, Case{UIImageOrientationRight, c, a, d, b},
          Case{UIImageOrientationUpMirrored, b, a, d, c},
          Case{UIImageOrientationDownMirrored, c, d, a, b},
          Case{UIImageOrientationLeftMirrored, a, c, b, d},
          Case{UIImageOrientationRightMirrored, d, b, c, a}}) {
        UIImage *image = UIImage::imageWithCGImageScaleOrientation(pixels, 1, k.orientation);
        auto *view = static_cast<UIImageView *>(autorelease(msg<id, UIImage *>(
            msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel, image)));
        CGImageRef shown = view->layer()->contents();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ((std::array{pixelAt(shown, 0, 0), pixelAt(shown, 1, 0), pixelAt(shown, 0, 1),
                              pixelAt(shown, 1, 1)}),
                  (std::array{k.topLeft, k.topRight, k.bottomLeft, k.bottomRight}))
            << k.orientation;
    }
}

} // namespace
