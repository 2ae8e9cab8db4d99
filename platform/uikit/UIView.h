#pragma once
// Views: rectangles of the interface, each backed by its own layer (CALayer.h), whose
// delegate it is. A view's geometry is its layer's: `center` is the layer's position,
// `bounds` its bounds, `transform` its affine transform and `frame` the box the
// transformed bounds cover in the superview, so the three stay consistent under any
// transform. The subview tree mirrors the sublayer tree.
//
// Behaviour that subclasses and the product may replace is reached by message: layout
// (`layoutSubviews`, sent by the layout pass), drawing (`drawRect:`, sent when the layer
// displays), the layer's class (`+layerClass`), and every setter that animations or
// subclasses watch (`setFrame:`, `setBounds:`, `setCenter:` …). UIKit's own code sends
// these messages rather than calling the functions behind them.
//
// Layout is deferred: setNeedsLayout marks the view and schedules one pass for the next
// turn of the main run loop, however many views ask; layoutIfNeeded runs pending layout
// at once, from the topmost marked ancestor down.
//
// Animations: see ViewAnimation.h. Inside an animation block the animatable setters
// (frame, bounds, center, alpha, transform, backgroundColor) store their model value at
// once and animate the presented value on the layer.

#include "foundation/NSArray.h"
#include "quartzcore/CALayer.h"
#include "uikit/UIColor.h"
#include "uikit/UIViewAnimationOptions.h"

#include <functional>

struct UIWindow;

struct UIView : NSObject {
    StrongRef<CALayer> m_layer;
    UIView *m_superview = nil; // not retained: the superview owns its subviews
    std::vector<StrongRef<UIView>> m_subviews;
    StrongRef<UIColor> m_backgroundColor;
    StrongRef<NSMutableArray> m_gestureRecognizers; // made on first use
    NSInteger m_tag = 0;
    bool m_userInteractionEnabled = true;
    bool m_needsLayout = false;

    ~UIView();

    static Class class_();

    CALayer *layer() const { return m_layer.get(); }
    CGRect frame() const { return m_layer->frame(); }
    CGRect bounds() const { return m_layer->bounds(); }
    CGPoint center() const { return m_layer->position(); }
    CGAffineTransform transform() const { return m_layer->affineTransform(); }
    CGFloat alpha() const { return m_layer->opacity(); }
    bool isHidden() const { return m_layer->isHidden(); }

    UIView *superview() const { return m_superview; }
    NSArray *subviews() const;
    UIWindow *window() const;
    bool isDescendantOfView(const UIView *view) const;
    UIView *viewWithTag(NSInteger tag);

    // Hierarchy changes without messages to the views' hooks: the message handlers below
    // wrap these.
    void insertSubviewAtIndex(UIView *view, std::size_t index);
    void removeFromSuperview();

    // Points between this view's bounds space and another view's (nil: the window).
    CGPoint convertPointToView(CGPoint point, UIView *view) const;
    CGPoint convertPointFromView(CGPoint point, UIView *view) const;
};

// Whether `cls` has its own drawRect: (it, or a superclass below UIView, overrides it):
// only such views get a backing image.
bool UIViewOverridesDrawRect(Class cls);
