#include "uikit/UIScreen.h"

#include "foundation/DeviceProfile.h"
#include "uikit/Snapshot.h"
#include "uikit/UIView.h"

namespace {

bool isLandscape(int orientation)
{
    return orientation == 3 || orientation == 4;
}

namespace imp {

UIScreen *mainScreen(id, SEL)
{
    return UIScreen::mainScreen();
}

CGRect bounds(UIScreen *self, SEL)
{
    return self->bounds();
}

CGFloat scale(UIScreen *self, SEL)
{
    return self->scale();
}

UIView *snapshotViewAfterScreenUpdates(UIScreen *, SEL, BOOL afterUpdates)
{
    return sim::snapshotViewOfScreen(afterUpdates);
}

} // namespace imp

const Class kRegistered = UIScreen::class_();

} // namespace

Class UIScreen::class_()
{
    static const Class cls =
        ClassBuilder<UIScreen>("UIScreen", "NSObject")
            .classMethod("mainScreen", imp::mainScreen)
            .method("bounds", imp::bounds)
            .method("scale", imp::scale)
            .method("snapshotViewAfterScreenUpdates:", imp::snapshotViewAfterScreenUpdates)
            .registerClass();
    return cls;
}

UIScreen *UIScreen::mainScreen()
{
    static UIScreen *const screen = sim::create<UIScreen>(class_());
    return screen;
}

CGRect UIScreen::bounds() const
{
    auto profile = sim::DeviceProfile::current();
    bool swapped = isLandscape(profile->orientation) &&
                   profile->coreFoundationVersion >= sim::DeviceProfile::kIOS8CoreFoundation;
    return swapped ? CGRectMake(0, 0, profile->screenHeight, profile->screenWidth)
                   : CGRectMake(0, 0, profile->screenWidth, profile->screenHeight);
}

CGFloat UIScreen::scale() const
{
    return sim::DeviceProfile::current()->screenScale;
}
