#include "springboard-extension/system-ui/CenterSupport.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNotificationCenter.h"
#include "foundation/NSSet.h"
#include "foundation/NSString.h"
#include "objc/NSObject.h"
#include "springboard-extension/frame/Installers.h"
#include "springboard-extension/frame/LazyClass.h"
#include "springboard-extension/frame/Replacement.h"
#include "uikit/UIColor.h"

#include <memory>

namespace {

LazyClass g_gestureManagerClass("FBSystemGestureManager");

} // namespace

UIColor *CVColorFromSetting(const CVColor &color)
{
    return msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
        objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:"_sel, color.red / 255.0,
        color.green / 255.0, color.blue / 255.0, 1.0);
}

void CVStyleBackdrop(id backdrop, CGFloat blurRadius, bool customTint, const CVColor &tint,
                     CGFloat tintAlpha)
{
    id settings = msg<id>(backdrop, "inputSettings"_sel);
    if (!settings)
        return;
    msg<void, CGFloat>(settings, "setBlurRadius:"_sel, blurRadius);
    if (customTint) {
        msg<void, UIColor *>(settings, "setColorTint:"_sel, CVColorFromSetting(tint));
        msg<void, CGFloat>(settings, "setColorTintAlpha:"_sel, tintAlpha);
    } else {
        msg<void, UIColor *>(settings, "setColorTint:"_sel,
                             msg<UIColor *>(objc_getClass("UIColor"), "clearColor"_sel));
    }
}

void CVUpdateSystemGesture(id recognizer, bool disabled)
{
    if (!recognizer)
        return;
    id manager = msg<id>(g_gestureManagerClass.get(), "sharedInstance"_sel);
    id map = CVGetIvar<id>(manager, "_displayToManagerMap");
    if (!map || !msg<BOOL, Class>(map, "isKindOfClass:"_sel, NSDictionary::class_()))
        return;
    id display = msg<id>(msg<id>(objc_getClass("UIScreen"), "mainScreen"_sel), "fbsDisplay"_sel);
    id displayManager = static_cast<NSDictionary *>(map)->objectForKey(display);
    auto *registered =
        msg<NSArray *>(msg<id>(displayManager, "gestureRecognizers"_sel), "allObjects"_sel);
    bool isRegistered = registered && registered->containsObject(recognizer);
    if (disabled && isRegistered)
        msg<void, id, id>(manager, "removeGestureRecognizer:fromDisplay:"_sel, recognizer, display);
    else if (!disabled && !isRegistered)
        msg<void, id, id>(manager, "addGestureRecognizer:toDisplay:"_sel, recognizer, display);
}

void CVWhenSpringBoardHasLaunched(void (*action)())
{
    auto token = std::make_shared<id>(nil);
    NSNotificationCenter *center = NSNotificationCenter::defaultCenter();
    *token = center->addObserverForNameObjectQueueUsingBlock(
        "UIApplicationDidFinishLaunchingNotification"_ns, nil, NSOperationQueue::mainQueue(),
        [token, action](NSNotification *) {
            NSNotificationCenter::defaultCenter()->removeObserver(*token);
            action();
        });
}

bool CVRunsIOS9()
{
    return CVRunningSystemGeneration() == CVSystemGenerationIOS9;
}
