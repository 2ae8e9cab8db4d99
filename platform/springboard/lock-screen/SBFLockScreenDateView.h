#pragma once
// The lock screen's date view: the time in large type and the date below it, drawn for
// the date it was last given (`setDate:`; nil leaves both texts empty). Its texts come
// from a formatter that conforms to SBFLockScreenDateFormatter (`formatDateAsTimeNoAMPM:`,
// `formatDateAsDayOfWeekMonthDayStyle:`): on iOS 7 and 8 the one the view was given
// (`setFormatter:`, SpringBoard gives it the shared SBDateLabelStringFormatCache), on
// iOS 9 the shared BSDateFormatterCache. Fonts (`_timeFont`, `_dateFont`) and the text
// colour (`textColor`, white until `setTextColor:`) are asked for by message at every
// redraw.

#include "foundation/NSDateFormatter.h"
#include "uikit/UILabel.h"

// SpringBoard's formatter caches: SBDateLabelStringFormatCache (iOS 7 and 8) and
// BSDateFormatterCache (iOS 9), each with a shared instance.
struct SBDateFormatCache : NSObject {
    StrongRef<NSDateFormatter> m_timeFormatter; // "h:mm"
    StrongRef<NSDateFormatter> m_dateFormatter; // "EEEE, MMMM d"
};
struct SBDateLabelStringFormatCache : SBDateFormatCache {
    static Class class_();
};
struct BSDateFormatterCache : SBDateFormatCache {
    static Class class_();
};

struct SBFLockScreenDateView : UIView {
    StrongRef<UILabel> m_timeLabel;
    StrongRef<UILabel> m_dateLabel;
    StrongRef<NSDate> m_date;
    StrongRef<NSObject> m_formatter;
    StrongRef<UIColor> m_textColor;

    static Class class_();
};

namespace sim {
void registerDateViewClasses();
} // namespace sim
