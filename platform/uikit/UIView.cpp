#include "uikit/UIView.h"

#include "foundation/DeviceProfile.h"
#include "quartzcore/LayerChangeObserver.h"
#include "uikit/Snapshot.h"
#include "uikit/UIGraphics.h"
#include "uikit/UIWindow.h"
#include "uikit/ViewAnimation.h"
#include "uikit/ViewLayout.h"

#include <algorithm>

using sim::AnimatedProperty;

namespace {

// The animatable setters record the layer's geometry before they change it, so that the
// change can be animated and layout asked for when the size changed.
struct GeometryBefore {
    CGRect bounds;
    CGPoint position;
};

GeometryBefore geometryOf(UIView *view)
{
    return {view->layer()->bounds(), view->layer()->position()};
}

void geometryChanged(UIView *view, const GeometryBefore &before)
{
    CALayer *layer = view->layer();
    if (!CGPointEqualToPoint(before.position, layer->position()))
        sim::ViewAnimation::recordChange(view, AnimatedProperty::Position, before.position,
                                         layer->position());
    if (CGRectEqualToRect(before.bounds, layer->bounds()) &&
        CGPointEqualToPoint(before.bounds.origin, layer->bounds().origin))
        return;
    sim::ViewAnimation::recordChange(view, AnimatedProperty::Bounds, before.bounds,
                                     layer->bounds());
    if (CGSizeEqualToSize(before.bounds.size, layer->bounds().size))
        return;
    msg<void>(view, "setNeedsLayout"_sel);
    if (UIViewOverridesDrawRect(object_getClass(view)))
        layer->setNeedsDisplay();
}

// Tells every view of a subtree that its window changed.
void notifyWindowChanged(UIView *view)
{
    msg<void>(view, "didMoveToWindow"_sel);
    std::vector<StrongRef<UIView>> subviews = view->m_subviews;
    for (UIView *subview : subviews)
        notifyWindowChanged(subview);
}

UIView *rootOf(const UIView *view)
{
    while (view->m_superview)
        view = view->m_superview;
    return const_cast<UIView *>(view);
}

// A view's own layer changed by message inside an animation block animates as the view's
// own setters do; a layer of no view, or one a view does not own, does not.
void layerOfViewChanged(CALayer *layer, AnimatedProperty property, const sim::AnimatedValue &before,
                        const sim::AnimatedValue &after)
{
    id delegate = layer->delegate();
    if (!delegate || !msg<BOOL>(delegate, "isKindOfClass:"_sel, UIView::class_()))
        return;
    auto *view = static_cast<UIView *>(delegate);
    if (view->layer() == layer)
        sim::ViewAnimation::recordChange(view, property, before, after);
}

const bool kObservingLayers = (sim::setLayerChangeObserver(layerOfViewChanged), true);

namespace imp {

Class layerClass(id, SEL)
{
    return CALayer::class_();
}

id initWithFrame(UIView *self, SEL, CGRect frame)
{
    Class layerClass = msg<Class>(object_getClass(self), "layerClass"_sel);
    self->m_layer = StrongRef<CALayer>::adopt(sim::create<CALayer>(layerClass));
    self->m_layer->setDelegate(self);
    if (UIViewOverridesDrawRect(object_getClass(self))) {
        self->m_layer->setContentsScale(sim::DeviceProfile::current()->screenScale);
        self->m_layer->setNeedsDisplay();
    }
    msg<void, CGRect>(self, "setFrame:"_sel, frame);
    return self;
}

id init(UIView *self, SEL)
{
    return msg<id, CGRect>(self, "initWithFrame:"_sel, CGRectZero);
}

CALayer *layer(UIView *self, SEL)
{
    return self->layer();
}

CGRect frame(UIView *self, SEL)
{
    return self->frame();
}

void setFrame(UIView *self, SEL, CGRect frame)
{
    GeometryBefore before = geometryOf(self);
    self->m_layer->setFrame(frame);
    geometryChanged(self, before);
}

CGRect bounds(UIView *self, SEL)
{
    return self->bounds();
}

void setBounds(UIView *self, SEL, CGRect bounds)
{
    GeometryBefore before = geometryOf(self);
    self->m_layer->setBounds(bounds);
    geometryChanged(self, before);
}

CGPoint center(UIView *self, SEL)
{
    return self->center();
}

void setCenter(UIView *self, SEL, CGPoint center)
{
    GeometryBefore before = geometryOf(self);
    self->m_layer->setPosition(center);
    geometryChanged(self, before);
}

CGAffineTransform transform(UIView *self, SEL)
{
    return self->transform();
}

void setTransform(UIView *self, SEL, CGAffineTransform transform)
{
    CATransform3D before = self->m_layer->transform();
    self->m_layer->setAffineTransform(transform);
    sim::ViewAnimation::recordChange(self, AnimatedProperty::Transform, before,
                                     self->m_layer->transform());
}

CGFloat alpha(UIView *self, SEL)
{
    return self->alpha();
}

void setAlpha(UIView *self, SEL, CGFloat alpha)
{
    CGFloat before = self->m_layer->opacity();
    self->m_layer->setOpacity(static_cast<float>(alpha));
    sim::ViewAnimation::recordChange(self, AnimatedProperty::Opacity, before,
                                     CGFloat(self->m_layer->opacity()));
}

UIColor *backgroundColor(UIView *self, SEL)
{
    return self->m_backgroundColor;
}

void setBackgroundColor(UIView *self, SEL, UIColor *color)
{
    auto before = sim::ColorValue::of(self->m_layer->backgroundColor());
    self->m_backgroundColor = color;
    self->m_layer->setBackgroundColor(color ? color->CGColor() : nil);
    sim::ViewAnimation::recordChange(self, AnimatedProperty::BackgroundColor, before,
                                     sim::ColorValue::of(self->m_layer->backgroundColor()));
}

BOOL isHidden(UIView *self, SEL)
{
    return self->isHidden();
}

void setHidden(UIView *self, SEL, BOOL hidden)
{
    self->m_layer->setHidden(hidden);
}

BOOL clipsToBounds(UIView *self, SEL)
{
    return self->m_layer->masksToBounds();
}

void setClipsToBounds(UIView *self, SEL, BOOL clips)
{
    self->m_layer->setMasksToBounds(clips);
}

NSInteger tag(UIView *self, SEL)
{
    return self->m_tag;
}

void setTag(UIView *self, SEL, NSInteger tag)
{
    self->m_tag = tag;
}

void setUserInteractionEnabled(UIView *self, SEL, BOOL enabled)
{
    self->m_userInteractionEnabled = enabled;
}

UIView *superview(UIView *self, SEL)
{
    return self->superview();
}

NSArray *subviews(UIView *self, SEL)
{
    return self->subviews();
}

UIWindow *window(UIView *self, SEL)
{
    return self->window();
}

void insertSubviewAtIndex(UIView *self, SEL, UIView *view, NSInteger index)
{
    if (!view || view == self || self->isDescendantOfView(view))
        return;
    UIWindow *oldWindow = view->window();
    bool moving = view->m_superview != self;
    if (moving)
        msg<void>(view, "willMoveToSuperview:"_sel, self);
    self->insertSubviewAtIndex(view, static_cast<std::size_t>(std::max<NSInteger>(index, 0)));
    if (!moving)
        return;
    msg<void>(view, "didMoveToSuperview"_sel);
    msg<void>(self, "didAddSubview:"_sel, view);
    if (view->window() != oldWindow)
        notifyWindowChanged(view);
    msg<void>(self, "setNeedsLayout"_sel);
    msg<void>(view, "setNeedsLayout"_sel);
}

void addSubview(UIView *self, SEL, UIView *view)
{
    msg<void, UIView *, NSInteger>(self, "insertSubview:atIndex:"_sel, view,
                                   static_cast<NSInteger>(self->m_subviews.size()));
}

void removeFromSuperview(UIView *self, SEL)
{
    UIView *superview = self->m_superview;
    if (!superview)
        return;
    StrongRef<UIView> keep(self);
    UIWindow *oldWindow = self->window();
    msg<void>(superview, "willRemoveSubview:"_sel, self);
    msg<void>(self, "willMoveToSuperview:"_sel, nil);
    self->removeFromSuperview();
    msg<void>(self, "didMoveToSuperview"_sel);
    if (oldWindow)
        notifyWindowChanged(self);
    msg<void>(superview, "setNeedsLayout"_sel);
}

void bringSubviewToFront(UIView *self, SEL, UIView *view)
{
    if (view && view->m_superview == self)
        self->insertSubviewAtIndex(view, self->m_subviews.size());
}

void sendSubviewToBack(UIView *self, SEL, UIView *view)
{
    if (view && view->m_superview == self)
        self->insertSubviewAtIndex(view, 0);
}

UIView *viewWithTag(UIView *self, SEL, NSInteger tag)
{
    return self->viewWithTag(tag);
}

BOOL isDescendantOfView(UIView *self, SEL, UIView *view)
{
    return self->isDescendantOfView(view);
}

void noHook(UIView *, SEL) {}

void noViewHook(UIView *, SEL, UIView *) {}

void drawRect(UIView *, SEL, CGRect) {}

void drawLayerInContext(UIView *self, SEL, CALayer *, CGContextRef context)
{
    UIGraphicsPushContext(context);
    msg<void, CGRect>(self, "drawRect:"_sel, self->bounds());
    UIGraphicsPopContext();
}

void setNeedsDisplay(UIView *self, SEL)
{
    if (UIViewOverridesDrawRect(object_getClass(self)))
        self->m_layer->setNeedsDisplay();
}

CGSize sizeThatFits(UIView *self, SEL, CGSize)
{
    return self->bounds().size;
}

void sizeToFit(UIView *self, SEL)
{
    CGSize size = msg<CGSize, CGSize>(self, "sizeThatFits:"_sel, self->bounds().size);
    CGRect bounds = self->bounds();
    bounds.size = size;
    msg<void, CGRect>(self, "setBounds:"_sel, bounds);
}

CGPoint convertPointToView(UIView *self, SEL, CGPoint point, UIView *view)
{
    return self->convertPointToView(point, view);
}

CGPoint convertPointFromView(UIView *self, SEL, CGPoint point, UIView *view)
{
    return self->convertPointFromView(point, view);
}

BOOL pointInsideWithEvent(UIView *self, SEL, CGPoint point, id)
{
    return CGRectContainsPoint(self->bounds(), point);
}

// The deepest visible, interactive view under the point, front-most subviews first.
UIView *hitTestWithEvent(UIView *self, SEL, CGPoint point, id event)
{
    if (self->isHidden() || !self->m_userInteractionEnabled || self->alpha() < 0.01)
        return nil;
    if (!msg<BOOL, CGPoint, id>(self, "pointInside:withEvent:"_sel, point, event))
        return nil;
    std::vector<StrongRef<UIView>> subviews = self->m_subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        CGPoint inSubview = self->convertPointToView(point, *it);
        auto *hit = msg<UIView *, CGPoint, id>(*it, "hitTest:withEvent:"_sel, inSubview, event);
        if (hit)
            return hit;
    }
    return self;
}

// Views are responders: touches a view does not handle go to the next responder, its
// superview, as on the platform.
id nextResponder(UIView *self, SEL)
{
    return self->m_superview;
}

void forwardTouches(UIView *self, SEL _cmd, id touches, id event)
{
    msg<void>(msg<id>(self, "nextResponder"_sel), _cmd, touches, event);
}

void addGestureRecognizer(UIView *self, SEL, id recognizer)
{
    if (!recognizer)
        return;
    if (!self->m_gestureRecognizers)
        self->m_gestureRecognizers = NSMutableArray::array();
    if (self->m_gestureRecognizers->containsObject(recognizer))
        return;
    msg<void>(msg<id>(recognizer, "view"_sel), "removeGestureRecognizer:"_sel, recognizer);
    self->m_gestureRecognizers->addObject(recognizer);
    msg<void>(recognizer, "_setView:"_sel, self);
}

void removeGestureRecognizer(UIView *self, SEL, id recognizer)
{
    if (!recognizer || !self->m_gestureRecognizers ||
        !self->m_gestureRecognizers->containsObject(recognizer))
        return;
    StrongRef<objc_object> keep(recognizer);
    self->m_gestureRecognizers->removeObject(recognizer);
    msg<void>(recognizer, "_setView:"_sel, nil);
}

NSArray *gestureRecognizers(UIView *self, SEL)
{
    return self->m_gestureRecognizers ? NSArray::arrayWithArray(self->m_gestureRecognizers) : nil;
}

UIView *snapshotViewAfterScreenUpdates(UIView *self, SEL, BOOL afterUpdates)
{
    return sim::snapshotView(self, afterUpdates);
}

void animate(id, SEL, NSTimeInterval duration, NSTimeInterval delay, UIViewAnimationOptions options,
             std::function<void()> animations, std::function<void(BOOL)> completion)
{
    sim::ViewAnimation::animate(duration, delay, options, animations, std::move(completion));
}

void animateWithCompletion(id, SEL, NSTimeInterval duration, std::function<void()> animations,
                           std::function<void(BOOL)> completion)
{
    sim::ViewAnimation::animate(duration, 0, UIViewAnimationOptionCurveEaseInOut, animations,
                                std::move(completion));
}

void animateWithoutCompletion(id, SEL, NSTimeInterval duration, std::function<void()> animations)
{
    sim::ViewAnimation::animate(duration, 0, UIViewAnimationOptionCurveEaseInOut, animations, {});
}

void setAnimationsEnabled(id, SEL, BOOL enabled)
{
    sim::ViewAnimation::setAnimationsEnabled(enabled);
}

BOOL areAnimationsEnabled(id, SEL)
{
    return sim::ViewAnimation::areAnimationsEnabled();
}

void performWithoutAnimation(id, SEL, std::function<void()> actions)
{
    sim::ViewAnimation::performWithoutAnimation(actions);
}

} // namespace imp

const Class kRegistered = UIView::class_();

} // namespace

Class UIView::class_()
{
    static const Class cls =
        ClassBuilder<UIView>("UIView", "NSObject")
            .classMethod("layerClass", imp::layerClass)
            .method("initWithFrame:", imp::initWithFrame)
            .method("init", imp::init)
            .method("layer", imp::layer)
            .method("frame", imp::frame)
            .method("setFrame:", imp::setFrame)
            .method("bounds", imp::bounds)
            .method("setBounds:", imp::setBounds)
            .method("center", imp::center)
            .method("setCenter:", imp::setCenter)
            .method("transform", imp::transform)
            .method("setTransform:", imp::setTransform)
            .method("alpha", imp::alpha)
            .method("setAlpha:", imp::setAlpha)
            .method("backgroundColor", imp::backgroundColor)
            .method("setBackgroundColor:", imp::setBackgroundColor)
            .method("isHidden", imp::isHidden)
            .method("setHidden:", imp::setHidden)
            .method("clipsToBounds", imp::clipsToBounds)
            .method("setClipsToBounds:", imp::setClipsToBounds)
            .method("tag", imp::tag)
            .method("setTag:", imp::setTag)
            .getter<&UIView::m_userInteractionEnabled>("isUserInteractionEnabled")
            .method("setUserInteractionEnabled:", imp::setUserInteractionEnabled)
            .method("superview", imp::superview)
            .method("subviews", imp::subviews)
            .method("window", imp::window)
            .method("addSubview:", imp::addSubview)
            .method("insertSubview:atIndex:", imp::insertSubviewAtIndex)
            .method("removeFromSuperview", imp::removeFromSuperview)
            .method("bringSubviewToFront:", imp::bringSubviewToFront)
            .method("sendSubviewToBack:", imp::sendSubviewToBack)
            .method("viewWithTag:", imp::viewWithTag)
            .method("isDescendantOfView:", imp::isDescendantOfView)
            .method("willMoveToSuperview:", imp::noViewHook)
            .method("didMoveToSuperview", imp::noHook)
            .method("didMoveToWindow", imp::noHook)
            .method("didAddSubview:", imp::noViewHook)
            .method("willRemoveSubview:", imp::noViewHook)
            .method("layoutSubviews", imp::noHook)
            .method("setNeedsLayout", sim::ViewLayout::setNeedsLayout)
            .method("layoutIfNeeded", sim::ViewLayout::layoutIfNeeded)
            .method("drawRect:", imp::drawRect)
            .method("drawLayer:inContext:", imp::drawLayerInContext)
            .method("setNeedsDisplay", imp::setNeedsDisplay)
            .method("sizeThatFits:", imp::sizeThatFits)
            .method("sizeToFit", imp::sizeToFit)
            .method("convertPoint:toView:", imp::convertPointToView)
            .method("convertPoint:fromView:", imp::convertPointFromView)
            .method("pointInside:withEvent:", imp::pointInsideWithEvent)
            .method("hitTest:withEvent:", imp::hitTestWithEvent)
            .method("nextResponder", imp::nextResponder)
            .method("touchesBegan:withEvent:", imp::forwardTouches)
            .method("touchesMoved:withEvent:", imp::forwardTouches)
            .method("touchesEnded:withEvent:", imp::forwardTouches)
            .method("touchesCancelled:withEvent:", imp::forwardTouches)
            .method("addGestureRecognizer:", imp::addGestureRecognizer)
            .method("removeGestureRecognizer:", imp::removeGestureRecognizer)
            .method("gestureRecognizers", imp::gestureRecognizers)
            .method("snapshotViewAfterScreenUpdates:", imp::snapshotViewAfterScreenUpdates)
            .classMethod("animateWithDuration:delay:options:animations:completion:", imp::animate)
            .classMethod("animateWithDuration:animations:completion:", imp::animateWithCompletion)
            .classMethod("animateWithDuration:animations:", imp::animateWithoutCompletion)
            .classMethod("setAnimationsEnabled:", imp::setAnimationsEnabled)
            .classMethod("areAnimationsEnabled", imp::areAnimationsEnabled)
            .classMethod("performWithoutAnimation:", imp::performWithoutAnimation)
            .registerClass();
    return cls;
}

UIView::~UIView()
{
    for (UIView *subview : m_subviews) {
        subview->m_superview = nil;
        subview->m_layer->removeFromSuperlayer();
    }
    if (m_layer)
        m_layer->setDelegate(nil);
}

NSArray *UIView::subviews() const
{
    NSMutableArray *subviews = NSMutableArray::array();
    for (UIView *subview : m_subviews)
        subviews->addObject(subview);
    return subviews;
}

UIWindow *UIView::window() const
{
    UIView *root = rootOf(this);
    return msg<BOOL>(root, "isKindOfClass:"_sel, UIWindow::class_()) ? static_cast<UIWindow *>(root)
                                                                     : nil;
}

bool UIView::isDescendantOfView(const UIView *view) const
{
    for (const UIView *ancestor = this; ancestor; ancestor = ancestor->m_superview)
        if (ancestor == view)
            return true;
    return false;
}

UIView *UIView::viewWithTag(NSInteger tag)
{
    if (m_tag == tag)
        return this;
    for (UIView *subview : m_subviews)
        if (UIView *found = subview->viewWithTag(tag))
            return found;
    return nil;
}

void UIView::insertSubviewAtIndex(UIView *view, std::size_t index)
{
    StrongRef<UIView> keep(view);
    view->removeFromSuperview();
    index = std::min(index, m_subviews.size());
    if (index < m_subviews.size())
        m_layer->insertSublayerBelow(view->m_layer, m_subviews[index]->m_layer);
    else
        m_layer->addSublayer(view->m_layer);
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), keep);
    view->m_superview = this;
}

void UIView::removeFromSuperview()
{
    if (!m_superview)
        return;
    StrongRef<UIView> keep(this);
    auto &siblings = m_superview->m_subviews;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    m_superview = nil;
    m_layer->removeFromSuperlayer();
}

CGPoint UIView::convertPointToView(CGPoint point, UIView *view) const
{
    CALayer *target = view ? view->m_layer.get() : rootOf(this)->m_layer.get();
    return sim::convertPointToLayer(m_layer, point, target);
}

CGPoint UIView::convertPointFromView(CGPoint point, UIView *view) const
{
    CALayer *source = view ? view->m_layer.get() : rootOf(this)->m_layer.get();
    return sim::convertPointToLayer(source, point, m_layer);
}

bool UIViewOverridesDrawRect(Class cls)
{
    static IMP plain = class_getMethodImplementation(UIView::class_(), "drawRect:"_sel);
    return class_getMethodImplementation(cls, "drawRect:"_sel) != plain;
}
