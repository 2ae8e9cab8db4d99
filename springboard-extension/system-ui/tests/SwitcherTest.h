#pragma once
// What the switcher tests share: SpringBoard of a generation with the extension whose
// entry runs the switcher installers alone (ExtensionTest.h), unlocked, with applications
// used as a user would, and probes of the switcher on screen.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include <nlohmann/json.hpp>

#include <string>

struct UIView;

namespace test {

class SwitcherTest : public ExtensionTest {
protected:
    SwitcherTest() : ExtensionTest({"AppSliderInit", "AppSwitcherInit", "DeckSwitcherInit"}) {}
    void TearDown() override;

    // Launches SpringBoard of the generation with the extension and unlocks it. Safari and
    // Messages ran before (the profile); Safari and then Mail are launched and sent home,
    // and the system ends Messages: the switcher lists Mail, Safari, Messages, Messages
    // not running.
    static void launchWithApps(double coreFoundationVersion);
    // Opens the switcher afresh and answers its dump section.
    static nlohmann::json openSwitcher();
    static std::vector<std::string> pages();
    // The snapshot view of the application's page in the open switcher, or nullptr.
    static UIView *snapshotOf(const std::string &bundleIdentifier);
    // What dims a snapshot: its container's alpha, and its layer's blur radius (0 when not
    // blurred) and rasterisation.
    static double containerAlphaOf(UIView *snapshot);
    static double blurRadiusOf(UIView *snapshot);
    static bool isRasterized(UIView *snapshot);
    // How many times SpringBoard was asked to relaunch since launchWithApps.
    static int relaunches();
};

inline constexpr const char *kMail = "com.apple.mobilemail";
inline constexpr const char *kSafari = "com.apple.mobilesafari";
inline constexpr const char *kMessages = "com.apple.MobileSMS";
inline constexpr const char *kHome = "com.apple.springboard";

} // namespace test
