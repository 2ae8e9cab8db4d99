#pragma once
// What cvsim and the `springboard` process agree on. cvsim starts springboard with the
// device root and SpringBoard's bundle identifier in its environment, so that libraries
// which decide at load time whether they are inside SpringBoard (libcv3) already see
// the identifier before main runs, and with the number of this launch. SpringBoard
// relaunching itself ends the process with kRelaunchExitStatus, and cvsim starts it
// again; any other end of the process ends the device.
//
//     springboard                  serves the control channel on the real clock
//     springboard --script FILE|-  runs a device script on the virtual clock

namespace sim {

inline constexpr int kRelaunchExitStatus = 75;

inline constexpr const char *kSpringBoardBundleIdentifier = "com.apple.springboard";
inline constexpr const char *kBundleIdentifierVariable = "CORVANE_BUNDLE_ID";
inline constexpr const char *kDeviceRootVariable = "CORVANE_DEVICE_ROOT";
// Which launch of SpringBoard on this device the process is: 1 for the first.
inline constexpr const char *kLaunchNumberVariable = "CVSIM_SPRINGBOARD_LAUNCH";

inline constexpr const char *kScriptOption = "--script";

} // namespace sim
