#pragma once
// Explicit animations as the phone makes them: a CABasicAnimation names the key path of
// the layer property it animates ("transform", "opacity", "position", …), its from and to
// values (NSValue for geometry and transforms, NSNumber for scalars), its duration, begin
// time and timing function; -[CALayer addAnimation:forKey:] starts it. The layer runs it
// as one of its own animations (LayerAnimation.h): the model value stays, the presented
// value moves, and the animation is removed when it ends. Its delegate, which the
// animation retains as on the phone, hears animationDidStop:finished: with YES when it ran
// to its end and NO when it was removed first (removeAnimationForKey:, or a newer
// animation under the same key).
//
// A begin time of 0 means "when added"; otherwise it is a time of CACurrentMediaTime(),
// the process clock (real in a running device, virtual in tests). The layer reads the
// animation's values when it is added, so changing it afterwards changes nothing there. A key path
// the stand-in does not animate, or values that do not fit it, are logged and the delegate hears NO
// at once.

#include "foundation/NSString.h"
#include "quartzcore/CALayer.h"
#include "quartzcore/NSValue.h"

using CFTimeInterval = double;

extern "C" {
// Seconds of the process clock, as the phone's media time counts.
CFTimeInterval CACurrentMediaTime();
}

extern NSString *const kCAMediaTimingFunctionLinear;
extern NSString *const kCAMediaTimingFunctionEaseIn;
extern NSString *const kCAMediaTimingFunctionEaseOut;
extern NSString *const kCAMediaTimingFunctionEaseInEaseOut;
extern NSString *const kCAMediaTimingFunctionDefault;

struct CAMediaTimingFunction : NSObject {
    sim::TimingCurve m_curve = sim::TimingCurve::Default;

    static Class class_();
    // One of the names above; an unknown name answers the default curve. Autoreleased.
    static CAMediaTimingFunction *functionWithName(NSString *name);
};

struct CABasicAnimation : NSObject {
    StrongRef<NSString> m_keyPath;
    StrongRef<objc_object> m_fromValue;
    StrongRef<objc_object> m_toValue;
    CFTimeInterval m_duration = 0.25;
    CFTimeInterval m_beginTime = 0;
    StrongRef<CAMediaTimingFunction> m_timingFunction;
    StrongRef<objc_object> m_delegate; // retained, as the phone's animations do

    static Class class_();
    // Autoreleased.
    static CABasicAnimation *animationWithKeyPath(NSString *keyPath);

    void setFromValue(id value) { m_fromValue = value; }
    void setToValue(id value) { m_toValue = value; }
    void setDuration(CFTimeInterval duration) { m_duration = duration; }
    void setBeginTime(CFTimeInterval time) { m_beginTime = time; }
    void setTimingFunction(CAMediaTimingFunction *function) { m_timingFunction = function; }
    void setDelegate(id delegate) { m_delegate = delegate; }
};
