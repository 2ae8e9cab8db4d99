#include "effects/CVScreenMetrics.h"

#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"
#include "uikit/UIScreen.h"

namespace {

bool isLandscape(UIInterfaceOrientation orientation)
{
    return orientation == UIInterfaceOrientationLandscapeRight ||
           orientation == UIInterfaceOrientationLandscapeLeft;
}

bool isPadInLandscape()
{
    if (!CVScreenMetrics::isPad())
        return false;
    id application = msg<id>(UIApplication::class_(), "sharedApplication"_sel);
    return isLandscape(msg<UIInterfaceOrientation>(application, "interfaceOrientation"_sel));
}

namespace imp {

BOOL isPad(id, SEL)
{
    return CVScreenMetrics::isPad();
}

CGSize screenSize(id, SEL)
{
    return CVScreenMetrics::screenSize();
}

CGFloat orientedScreenWidth(id, SEL)
{
    return CVScreenMetrics::orientedScreenWidth();
}

CGFloat orientedScreenHeight(id, SEL)
{
    return CVScreenMetrics::orientedScreenHeight();
}

} // namespace imp

const Class kRegistered = CVScreenMetrics::class_();

} // namespace

Class CVScreenMetrics::class_()
{
    static const Class cls = ClassBuilder<CVScreenMetrics>("CVScreenMetrics", "NSObject")
                                 .classMethod("isPad", imp::isPad)
                                 .classMethod("screenSize", imp::screenSize)
                                 .classMethod("orientedScreenWidth", imp::orientedScreenWidth)
                                 .classMethod("orientedScreenHeight", imp::orientedScreenHeight)
                                 .registerClass();
    return cls;
}

BOOL CVScreenMetrics::isPad()
{
    id device = msg<id>(UIDevice::class_(), "currentDevice"_sel);
    if (!msg<BOOL>(device, "respondsToSelector:"_sel, "userInterfaceIdiom"_sel))
        return NO;
    return msg<UIUserInterfaceIdiom>(device, "userInterfaceIdiom"_sel) == UIUserInterfaceIdiomPad;
}

CGSize CVScreenMetrics::screenSize()
{
    // The first caller reads the bounds; the guard of a local static keeps two threads
    // that race on that first call from seeing a half-written size.
    static const CGSize kept =
        msg<CGRect>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "bounds"_sel).size;
    return kept;
}

CGFloat CVScreenMetrics::orientedScreenWidth()
{
    CGSize size = screenSize();
    return isPadInLandscape() ? size.height : size.width;
}

CGFloat CVScreenMetrics::orientedScreenHeight()
{
    CGSize size = screenSize();
    return isPadInLandscape() ? size.width : size.height;
}
