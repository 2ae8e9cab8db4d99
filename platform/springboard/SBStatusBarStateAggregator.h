#pragma once
// The status bar. SpringBoard's status bar state aggregator decides what the bar shows;
// of its items this host has the carrier, the battery and the time. The time item is
// formatted by the aggregator's time formatter ("_timeItemDateFormatter", short time
// style of the device's locale) whenever the minute changes (`_updateTimeItems`, sent by a
// timer that `_restartTimeItemTimer` sets for the start of the next minute).

#include "foundation/NSDateFormatter.h"
#include "springboard/MinuteTicker.h"
#include "uikit/UILabel.h"
#include "uikit/UIWindow.h"

struct SBStatusBarStateAggregator : NSObject {
    StrongRef<NSDateFormatter> m_timeItemDateFormatter;
    StrongRef<UILabel> m_timeLabel; // the bar's time item
    sim::MinuteTicker m_timeItemTimer;

    static Class class_();
};

namespace sim {

inline constexpr CGFloat kStatusBarHeight = 20;

// The status bar's window, across the top of the interface, with its items (carrier at
// the left, time in the middle, battery at the right); the aggregator fills in the time
// and keeps it current. The caller owns the window.
UIWindow *createStatusBarWindow(SBStatusBarStateAggregator *aggregator, CGFloat width);
// Places the carrier, time and battery items across the window's width.
void layOutStatusBar(UIWindow *window);

void registerStatusBarClasses();

} // namespace sim
