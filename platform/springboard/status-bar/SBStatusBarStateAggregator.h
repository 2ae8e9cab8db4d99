#pragma once
// The status bar's state aggregator: SpringBoard's object that composes what the bar shows
// into its raw data block (`_data`, StatusBarData.h) and tells the bar's views when that
// changed. Each item is turned on or off through `_setItem:enabled:`, which every update
// goes through: `updateStatusBarItem:` asks the phone's state whether SpringBoard shows
// the item (the time, signal, carrier and battery always; Wi-Fi while the phone has it;
// the rest as the device profile turns them on) and passes that on.
//
// The time item is formatted by `_timeItemDateFormatter` (short time style of the
// device's locale) whenever the minute changes: `_updateTimeItems`, sent by a timer that
// `_restartTimeItemTimer` sets for the start of the next minute (`_stopTimeItemTimer`
// stops it, on the generations that have it). The carrier text comes from the telephony
// manager's operator name (`_sbCarrierNameForOperator:` where the generation has it)
// through `_updateServiceItem`, which keeps the text it last wrote in `_serviceString` and
// rewrites the data only when the name differs from it.
//
// Each change asks the bar to lay out again (once at `endCoalescentBlock` for changes
// between `beginCoalescentBlock` and it), and the bar draws the data as it lays out, so
// the views show the data as it stands at the next turn of the run loop.

#include "foundation/NSDateFormatter.h"
#include "springboard/status-bar/MinuteTicker.h"
#include "springboard/status-bar/StatusBarData.h"
#include "uikit/UIView.h"

struct SBStatusBarStateAggregator : NSObject {
    SBStatusBarRawData m_data{};
    StrongRef<NSString> m_serviceString;
    StrongRef<NSDateFormatter> m_timeItemDateFormatter;
    sim::MinuteTicker m_timeItemTimer;
    int m_coalescentBlockDepth = 0;
    bool m_dataChangedInBlock = false;
    StrongRef<UIView> m_statusBarView; // draws `m_data` when it lays out

    static Class class_();
};

namespace sim {
void registerStatusBarAggregatorClass();
} // namespace sim
