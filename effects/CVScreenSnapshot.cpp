#include "effects/CVScreenSnapshot.h"

#include "effects/CVCategory.h"
#include "foundation/CoreFoundation.h"
#include "uikit/IOSurface.h"
#include "uikit/UIApplication.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

namespace {

UIImageOrientation imageOrientationFor(UIInterfaceOrientation orientation)
{
    switch (orientation) {
    case UIInterfaceOrientationPortraitUpsideDown:
    case UIInterfaceOrientationLandscapeRight:
    case UIInterfaceOrientationLandscapeLeft:
        return static_cast<UIImageOrientation>(orientation - 1);
    default:
        return UIImageOrientationUp;
    }
}

UIImageView *screenSnapshotView(id, SEL)
{
    return CVScreenSnapshotView();
}

[[gnu::constructor]] void addScreenSnapshot()
{
    CVAddCategoryMethod(object_getClass(UIScreen::class_()), "screenSnapshotView",
                        screenSnapshotView);
}

} // namespace

UIImageView *CVScreenSnapshotView()
{
    IOSurfaceRef surface = msg<IOSurfaceRef>(UIWindow::class_(), "createScreenIOSurface"_sel);
    CGImageRef image = UICreateCGImageFromIOSurface(surface);
    id application = msg<id>(UIApplication::class_(), "sharedApplication"_sel);
    UIImageOrientation orientation =
        imageOrientationFor(msg<UIInterfaceOrientation>(application, "interfaceOrientation"_sel));
    CGFloat scale = msg<CGFloat>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "scale"_sel);
    id snapshot = msg<id, CGImageRef, CGFloat, UIImageOrientation>(
        msg<id>(UIImage::class_(), "alloc"_sel), "initWithCGImage:scale:orientation:"_sel, image,
        scale, orientation);
    id view = msg<id, UIImage *>(msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel,
                                 static_cast<UIImage *>(snapshot));
    objc_release(snapshot);
    if (surface)
        CFRelease(surface);
    CGImageRelease(image);
    return static_cast<UIImageView *>(autorelease(view));
}
