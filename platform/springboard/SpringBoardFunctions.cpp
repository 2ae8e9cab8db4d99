#include "springboard/SpringBoardFunctions.h"

#include "foundation/NSString.h"
#include "substrate/substrate.h"
#include "uikit/UIColor.h"

namespace {

// Dark glyphs on Control Center's light controls; a selected control turns its glyph
// white, a highlighted one lighter, a disabled one faint.
UIColor *controlColorForState(int state)
{
    switch (state) {
    case 1:
        return UIColor::colorWithWhiteAlpha(0.45, 1);
    case 2:
        return UIColor::colorWithWhiteAlpha(0.15, 0.35);
    case 4:
        return UIColor::whiteColor();
    default:
        return UIColor::colorWithWhiteAlpha(0.15, 1);
    }
}

std::vector<std::string> g_settingsChanges;

void controlSettingsDidChangeForKey(NSString *key)
{
    g_settingsChanges.push_back(key ? key->str() : std::string());
    id controlCenter = msg<id>(objc_getClass("SBControlCenterController"), "sharedInstance"_sel);
    msg<void, NSString *>(controlCenter, "_controlSettingsDidChange:"_sel, key);
}

UIColor *(*g_controlColorForState)(int) = controlColorForState;
void (*g_controlSettingsDidChangeForKey)(NSString *) = controlSettingsDidChangeForKey;

template <class Function> void *address(Function function)
{
    return reinterpret_cast<void *>(function);
}

} // namespace

extern "C" UIColor *_SBUIControlCenterControlColorForState(int state)
{
    return g_controlColorForState(state);
}

extern "C" void _SBControlCenterControlSettingsDidChangeForKey(NSString *key)
{
    g_controlSettingsDidChangeForKey(key);
}

namespace sim {

void installSpringBoardFunctions()
{
    g_controlColorForState = controlColorForState;
    g_controlSettingsDidChangeForKey = controlSettingsDidChangeForKey;
    g_settingsChanges.clear();
    registerHookableFunction(address(_SBUIControlCenterControlColorForState),
                             reinterpret_cast<void **>(&g_controlColorForState));
    registerHookableFunction(address(_SBControlCenterControlSettingsDidChangeForKey),
                             reinterpret_cast<void **>(&g_controlSettingsDidChangeForKey));
}

void removeSpringBoardFunctions()
{
    unregisterHookableFunction(address(_SBUIControlCenterControlColorForState));
    unregisterHookableFunction(address(_SBControlCenterControlSettingsDidChangeForKey));
    g_controlColorForState = controlColorForState;
    g_controlSettingsDidChangeForKey = controlSettingsDidChangeForKey;
}

std::vector<std::string> controlCenterSettingsChanges()
{
    return g_settingsChanges;
}

} // namespace sim
