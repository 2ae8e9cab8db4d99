#include "springboard/lock-screen/LockScreenServices.h"

#include "foundation/DeviceProfile.h"
#include "foundation/NSLog.h"
#include "springboard/Artwork.h"
#include "springboard/Generation.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardState.h"
#include "springboard/lock-screen/LockScreen.h"

namespace {

constexpr const char *kNowPlayingBundle = "NowPlayingArtLockScreen";
constexpr CGFloat kArtworkSide = 180;

struct SBUserAgent : NSObject {};
struct SBLockScreenPluginController : NSObject {};

SBLockScreenView *lockScreenView()
{
    id controller = sim::springBoardState().lockScreenViewController;
    return controller ? msg<SBLockScreenView *>(controller, "lockScreenView"_sel) : nullptr;
}

id sharedObject(StrongRef<NSObject> &slot, const char *className)
{
    if (!slot)
        slot = StrongRef<NSObject>::adopt(sim::create(objc_getClass(className)));
    return slot;
}

void showArtwork(const std::string &title)
{
    SBLockScreenView *view = lockScreenView();
    if (!view || view->m_pluginView)
        return;
    UIImage *artwork = sim::applicationIconImage("music:" + title, title, kArtworkSide);
    view->m_pluginView =
        StrongRef<UIImageView>::adopt(static_cast<UIImageView *>(msg<id, UIImage *>(
            msg<id>(UIImageView::class_(), "alloc"_sel), "initWithImage:"_sel, artwork)));
    sim::addSubview(view, view->m_pluginView);
    msg<void>(view, "setNeedsLayout"_sel);
}

void removeArtwork()
{
    SBLockScreenView *view = lockScreenView();
    if (!view || !view->m_pluginView)
        return;
    msg<void>(view->m_pluginView, "removeFromSuperview"_sel);
    view->m_pluginView = StrongRef<UIImageView>();
}

namespace imp {

id sharedUserAgent(id, SEL)
{
    return sharedObject(sim::springBoardState().userAgent, "SBUserAgent");
}

BOOL lockScreenIsShowing(SBUserAgent *, SEL)
{
    return sim::springBoardState().locked;
}

id sharedPluginController(id, SEL)
{
    return sharedObject(sim::springBoardState().lockScreenPluginController,
                        "SBLockScreenPluginController");
}

// The artwork plug-in shows the song that plays; other bundles have nothing to show here.
BOOL enableBundle(SBLockScreenPluginController *, SEL, NSString *name, id)
{
    auto profile = sim::DeviceProfile::current();
    if (!name || name->str() != kNowPlayingBundle || !profile->nowPlaying)
        return NO;
    showArtwork(*profile->nowPlaying);
    return YES;
}

BOOL enableBundleAnimated(SBLockScreenPluginController *self, SEL _cmd, NSString *name, id context,
                          id)
{
    return enableBundle(self, _cmd, name, context);
}

} // namespace imp

} // namespace

namespace sim {

void registerLockScreenServiceClasses()
{
    HostClass<SBUserAgent>("SBUserAgent", "NSObject")
        .classMethod("sharedUserAgent", imp::sharedUserAgent)
        .method("lockScreenIsShowing", imp::lockScreenIsShowing)
        .registerClass();
    HostClass<SBLockScreenPluginController>("SBLockScreenPluginController", "NSObject")
        .classMethod("sharedInstance", imp::sharedPluginController)
        .method("enableLockScreenBundleWithName:activationContext:", imp::enableBundle)
        .onGenerations(iOS7)
        .method("enableLockScreenBundleWithName:activationContext:"
                "auxiliaryActivationAnimationBlock:",
                imp::enableBundleAnimated)
        .onGenerations(iOS8 | iOS9)
        .registerClass();
}

void showNowPlayingArtworkIfPlaying()
{
    if (!DeviceProfile::current()->nowPlaying)
        return;
    id controller = msg<id>(objc_getClass("SBLockScreenPluginController"), "sharedInstance"_sel);
    NSString *bundle = NSString::stringWithUTF8String(kNowPlayingBundle);
    if (currentGeneration() == iOS7)
        msg<BOOL, NSString *, id>(
            controller, "enableLockScreenBundleWithName:activationContext:"_sel, bundle, nil);
    else
        msg<BOOL, NSString *, id, id>(
            controller,
            "enableLockScreenBundleWithName:activationContext:auxiliaryActivationAnimationBlock:"_sel,
            bundle, nil, nil);
}

void hideNowPlayingArtwork()
{
    removeArtwork();
}

void LockScreenHost::setMusicPlaying(const std::string *title)
{
    DeviceProfile profile = *DeviceProfile::current();
    profile.nowPlaying = title ? std::optional<std::string>(*title) : std::nullopt;
    DeviceProfile::setCurrent(profile);
    if (!profile.save())
        NSLog("SpringBoard: the device profile could not be saved; the music plays until "
              "SpringBoard ends");
    removeArtwork();
    if (title && springBoardState().locked)
        showNowPlayingArtworkIfPlaying();
}

} // namespace sim
