#pragma once
// Each feature's commands and actions, as its own files in this folder define them; the
// two tables (FeatureCommandTable.cpp, FeatureActionTable.cpp) list them all.

#include "FeatureActions.h"
#include "FeatureCommands.h"

namespace sim {

// Editing, folders (HomeScreenCommands.cpp, HomeScreenActions.cpp).
std::span<const FeatureCommand> homeScreenCommands();
std::span<const FeatureAction> homeScreenActions();
nlohmann::json homeScreenDump();

// Launching and quitting applications (AppsCommands.cpp, AppsActions.cpp).
std::span<const FeatureCommand> appsCommands();
std::span<const FeatureAction> appsActions();
nlohmann::json appsDump();

// The app switcher (SwitcherCommands.cpp, SwitcherActions.cpp).
std::span<const FeatureCommand> switcherCommands();
std::span<const FeatureAction> switcherActions();
nlohmann::json switcherDump();
// Control Center and Notification Center (CentersCommands.cpp, CentersActions.cpp).
std::span<const FeatureCommand> centersCommands();
std::span<const FeatureAction> centersActions();
nlohmann::json controlCenterDump();
nlohmann::json notificationCenterDump();
// Networks (StatusBarCommands.cpp, StatusBarActions.cpp).
std::span<const FeatureCommand> statusBarCommands();
std::span<const FeatureAction> statusBarActions();
nlohmann::json statusBarDump();

// Music on the lock screen (LockScreenCommands.cpp, LockScreenActions.cpp).
std::span<const FeatureCommand> lockScreenCommands();
std::span<const FeatureAction> lockScreenActions();
nlohmann::json lockScreenDump();

// The backlight, lock animations and animation speed (AnimationsCommands.cpp,
// AnimationsActions.cpp).
std::span<const FeatureCommand> animationsCommands();
std::span<const FeatureAction> animationsActions();
nlohmann::json animationsDump();

// A finger at a point of the screen (FingerCommands.cpp, FingerActions.cpp).
std::span<const FeatureCommand> fingerCommands();
std::span<const FeatureAction> fingerActions();

// Recording the screen (RecordCommands.cpp, RecordActions.cpp).
std::span<const FeatureCommand> recordCommands();
std::span<const FeatureAction> recordActions();
nlohmann::json recordingDump();

} // namespace sim
