#pragma once
// SpringBoard's private functions that extensions call or replace. Each is exported under
// its own name and calls through a slot that the injection stand-in may redirect
// (substrate/substrate.h), so a hook with MSHookFunction reaches every caller,
// SpringBoard's own included.
//
//   _SBUIControlCenterControlColorForState   the colour of a Control Center control's
//                                            glyph in a control state (UIControlState:
//                                            0 normal, 1 highlighted, 2 disabled,
//                                            4 selected)
//   _SBControlCenterControlSettingsDidChangeForKey
//                                            tells Control Center that the setting
//                                            behind one of its controls changed

#include <string>
#include <vector>

struct NSString;
struct UIColor;

extern "C" {
UIColor *_SBUIControlCenterControlColorForState(int state);
void _SBControlCenterControlSettingsDidChangeForKey(NSString *key);
}

namespace sim {

// Points the slots at SpringBoard's own functions and makes them hookable; at every start.
void installSpringBoardFunctions();
// Makes them unhookable again, at the end of a run.
void removeSpringBoardFunctions();

// The keys Control Center has been told about since SpringBoard started, oldest first.
std::vector<std::string> controlCenterSettingsChanges();

} // namespace sim
