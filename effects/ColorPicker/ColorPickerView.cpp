#include "effects/ColorPicker/ColorPickerView.h"

#include "effects/ColorPicker/ColorPickerImages.h"
#include "effects/ColorPicker/ColorPickerMarkerLayer.h"
#include "effects/ColorPicker/ColorWheelGenerator.h"
#include "effects/ColorPicker/ColorWheelGeometry.h"
#include "foundation/NSSet.h"
#include "quartzcore/CATransaction.h"
#include "uikit/UIScreen.h"
#include "uikit/UITouch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

using Self = ColorPickerView;

constexpr CGFloat kPadding = ColorPickerView::kPaddingDistance;

// An assertion of the view class that failed: a programming error of the caller, reported
// as the platform reports an uncaught internal-inconsistency exception, and fatal.
[[noreturn]] void assertionFailure(const char *method, const char *reason)
{
    std::fprintf(stderr, "*** Assertion failure in -[ColorPickerView %s]\n", method);
    std::fprintf(stderr,
                 "*** Terminating app due to uncaught exception "
                 "'NSInternalInconsistencyException', reason: '%s'\n",
                 reason);
    std::abort();
}

void requireSquare(CGSize size, const char *method)
{
    if (size.width != size.height)
        assertionFailure(method, "must be square");
}

void tellDelegate(Self *self, SEL selector)
{
    id delegate = self->m_delegate;
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, selector))
        msg<void>(delegate, selector, static_cast<id>(self));
}

void tellDelegateOfTouches(Self *self, SEL selector, NSSet *touches, id event)
{
    id delegate = self->m_delegate;
    if (delegate && msg<BOOL>(delegate, "respondsToSelector:"_sel, selector))
        msg<void>(delegate, selector, static_cast<id>(self), touches, event);
}

// A new layer in `parent`, which owns it.
StrongRef<CALayer> sublayer(CALayer *parent, Class cls = CALayer::class_())
{
    auto layer = StrongRef<CALayer>::adopt(msg<CALayer *>(cls, "new"_sel));
    parent->addSublayer(layer);
    return layer;
}

// The marker, the colour circle and the loupe at the selection, the colour circle filled
// with the selected colour, and the two overlays at the state's brightness and opacity.
void placeSelection(Self *self)
{
    ColorPickerState *state = self->state();
    CGPoint selection = self->selection();
    self->m_markerLayer->setPosition(selection);
    self->m_colorCircleLayer->setPosition(selection);
    self->m_colorCircleLayer->setBackgroundColor(state->color()->CGColor());
    self->m_patternLayer->setOpacity(float(1 - state->alpha()));
    self->m_brightnessLayer->setOpacity(float(1 - state->brightness()));
    ColorPickerLoupeLayer *loupe = self->m_loupeLayer;
    if (loupe && loupe->m_shown)
        loupe->showSelection(selection, self->m_wheel,
                             {selection.x * self->m_scale, selection.y * self->m_scale},
                             state->brightness(), self->m_cropToCircle);
}

void updateSelectionDisplay(Self *self, bool animated)
{
    CATransaction::begin();
    CATransaction::setDisableActions(!animated);
    placeSelection(self);
    CATransaction::commit();
    tellDelegate(self, "colorPickerDidChangeSelection:"_sel);
}

void setState(Self *self, ColorPickerState *state, bool animated)
{
    self->m_state = state;
    updateSelectionDisplay(self, animated);
}

CGPoint validPoint(Self *self, CGPoint point)
{
    return msg<CGPoint, CGPoint>(self, "validPointForTouch:"_sel, point);
}

ColorPickerState *stateAtPoint(Self *self, CGPoint point)
{
    ColorPickerState *state = self->state();
    return ColorPickerState::stateForPoint(validPoint(self, point), self->side(), kPadding,
                                           state->brightness(), state->alpha());
}

void moveSelectionToTouch(Self *self, NSSet *touches)
{
    auto *touch = static_cast<UITouch *>(touches ? touches->anyObject() : nil);
    if (!touch)
        return;
    setState(self, stateAtPoint(self, touch->locationInView(self)), false);
}

void applyCrop(Self *self)
{
    self->m_contentsLayer->setCornerRadius(self->m_cropToCircle ? self->side() / 2 : 0);
}

void regenerateWheelIfStale(Self *self)
{
    CGFloat diameter = self->side() * self->m_scale;
    CGFloat padding = kPadding * self->m_scale;
    if (self->m_wheel && diameter == self->m_wheelDiameter && padding == self->m_wheelPadding)
        return;
    self->m_wheel = CVColorWheelBitmap(diameter, padding, true);
    self->m_wheelDiameter = diameter;
    self->m_wheelPadding = padding;
    self->m_gradientLayer->setContents(self->m_wheel);
}

// Everything that depends on the screen's pixels and the view's size, for a view in a
// window.
void layOutForScreen(Self *self)
{
    self->m_scale = UIScreen::mainScreen()->scale();
    for (CALayer *layer :
         {self->m_contentsLayer.get(), self->m_gradientLayer.get(), self->m_brightnessLayer.get(),
          self->m_colorCircleLayer.get(), self->m_markerLayer.get()})
        layer->setContentsScale(self->m_scale);
    self->m_patternLayer->setContentsScale(1.0);
    self->m_markerLayer->setNeedsDisplay();
    CGRect bounds = {CGPointZero, self->bounds().size};
    for (CALayer *layer : {self->m_contentsLayer.get(), self->m_gradientLayer.get(),
                           self->m_brightnessLayer.get(), self->m_patternLayer.get()})
        layer->setFrame(bounds);
    auto pixels = std::size_t(std::ceil(self->side() * self->m_scale));
    self->m_patternLayer->setContents(
        CVCheckerboardImage(pixels, pixels, ColorPickerView::kPatternTileSize * self->m_scale,
                            ColorPickerView::kPatternWhite));
    regenerateWheelIfStale(self);
    applyCrop(self);
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    placeSelection(self);
    CATransaction::commit();
}

bool isShowing(Self *self)
{
    return self->m_contentsLayer && self->window() && !CGRectIsEmpty(self->bounds());
}

// The loupe is made on the first touch, and again when the screen's scale has changed since.
void makeLoupeForScale(Self *self)
{
    if (self->m_loupeLayer && self->m_loupeLayer->contentsScale() == self->m_scale)
        return;
    if (self->m_loupeLayer)
        self->m_loupeLayer->dismiss(false);
    self->m_loupeLayer = StrongRef<ColorPickerLoupeLayer>::adopt(
        ColorPickerLoupeLayer::createWithScale(self->m_scale));
}

namespace imp {

id initWithFrame(Self *self, SEL _cmd, CGRect frame)
{
    CGFloat side = std::min(frame.size.width, frame.size.height);
    frame.size = {side, side};
    if (!msgSuper<id, CGRect>(ColorPickerView::class_(), self, _cmd, frame))
        return nil;
    msg<void>(self, "initRoutine"_sel);
    return self;
}

void initRoutine(Self *self, SEL)
{
    self->m_showLoupe = true;
    msg<void>(self, "setBackgroundColor:"_sel, UIColor::clearColor());
    CALayer *root = self->layer();
    self->m_contentsLayer = sublayer(root);
    self->m_contentsLayer->setMasksToBounds(true);
    self->m_gradientLayer = sublayer(self->m_contentsLayer);
    self->m_brightnessLayer = sublayer(self->m_contentsLayer);
    self->m_brightnessLayer->setBackgroundColor(UIColor::blackColor()->CGColor());
    self->m_colorCircleLayer = sublayer(self->m_contentsLayer);
    self->m_patternLayer = sublayer(self->m_contentsLayer);
    self->m_markerLayer = sublayer(self->m_contentsLayer, ColorPickerMarkerLayer::class_());
    CGRect selectionBounds = {CGPointZero,
                              {ColorPickerView::kSelectionSize, ColorPickerView::kSelectionSize}};
    for (CALayer *layer : {self->m_colorCircleLayer.get(), self->m_markerLayer.get()}) {
        layer->setBounds(selectionBounds);
        layer->setCornerRadius(ColorPickerView::kSelectionSize / 2);
    }
    self->m_cropToCircle = false;
    self->m_state = ColorPickerState::stateWithColor(UIColor::whiteColor());
    applyCrop(self);
    placeSelection(self);
}

void setFrame(Self *self, SEL _cmd, CGRect frame)
{
    requireSquare(frame.size, "setFrame:");
    msgSuper<void, CGRect>(ColorPickerView::class_(), self, _cmd, frame);
    if (isShowing(self))
        layOutForScreen(self);
}

void setBounds(Self *self, SEL _cmd, CGRect bounds)
{
    requireSquare(bounds.size, "setBounds:");
    msgSuper<void, CGRect>(ColorPickerView::class_(), self, _cmd, bounds);
    if (isShowing(self))
        layOutForScreen(self);
}

void didMoveToWindow(Self *self, SEL)
{
    if (isShowing(self)) {
        layOutForScreen(self);
        return;
    }
    if (self->window())
        return;
    self->m_scale = 0;
    if (self->m_loupeLayer)
        self->m_loupeLayer->dismiss(false);
}

id delegate(Self *self, SEL)
{
    return self->m_delegate;
}

void setDelegate(Self *self, SEL, id delegate)
{
    self->m_delegate = delegate;
}

BOOL cropToCircle(Self *self, SEL)
{
    return self->m_cropToCircle;
}

void setCropToCircle(Self *self, SEL, BOOL crop)
{
    self->m_cropToCircle = crop;
    applyCrop(self);
}

BOOL showLoupe(Self *self, SEL)
{
    return self->m_showLoupe;
}

void setShowLoupe(Self *self, SEL, BOOL show)
{
    self->m_showLoupe = show;
}

CGFloat scale(Self *self, SEL)
{
    return self->m_scale;
}

CGFloat paddingDistance(Self *, SEL)
{
    return kPadding;
}

UIColor *selectionColor(Self *self, SEL)
{
    return self->state()->color();
}

void setSelectionColor(Self *self, SEL, UIColor *color)
{
    if (color)
        setState(self, ColorPickerState::stateWithColor(color), true);
}

CGFloat brightness(Self *self, SEL)
{
    return self->state()->brightness();
}

// Brightness and opacity are levels from 0 to 1: a value outside is clamped, and NaN, which
// names no level, changes nothing.
void setBrightness(Self *self, SEL, CGFloat brightness)
{
    if (!std::isnan(brightness))
        setState(self, self->state()->stateBySettingBrightness(std::clamp(brightness, 0.0, 1.0)),
                 true);
}

CGFloat opacity(Self *self, SEL)
{
    return self->state()->alpha();
}

void setOpacity(Self *self, SEL, CGFloat opacity)
{
    if (!std::isnan(opacity))
        setState(self, self->state()->stateBySettingAlpha(std::clamp(opacity, 0.0, 1.0)), true);
}

CGPoint selection(Self *self, SEL)
{
    return self->selection();
}

void setSelection(Self *self, SEL, CGPoint point)
{
    setState(self, stateAtPoint(self, point), true);
}

UIColor *colorAtPoint(Self *self, SEL, CGPoint point)
{
    return stateAtPoint(self, point)->color();
}

CGPoint validPointForTouch(Self *self, SEL, CGPoint point)
{
    return CVClampToValidArea(point, self->side(), kPadding, self->m_cropToCircle);
}

void touchesBegan(Self *self, SEL, NSSet *touches, id event)
{
    if (self->m_showLoupe) {
        makeLoupeForScale(self);
        self->m_loupeLayer->appearIn(self->layer());
    } else if (self->m_loupeLayer) {
        self->m_loupeLayer->dismiss(true);
    }
    moveSelectionToTouch(self, touches);
    tellDelegateOfTouches(self, "colorPicker:touchesBegan:withEvent:"_sel, touches, event);
}

void touchesMoved(Self *self, SEL, NSSet *touches, id)
{
    moveSelectionToTouch(self, touches);
}

void touchesEnded(Self *self, SEL, NSSet *touches, id event)
{
    moveSelectionToTouch(self, touches);
    if (self->m_loupeLayer)
        self->m_loupeLayer->dismiss(true);
    tellDelegateOfTouches(self, "colorPicker:touchesEnded:withEvent:"_sel, touches, event);
}

// A touch taken away (by the system, or by a gesture) ends where it last was: the selection
// stays, and the delegate hears the end, so that what the picker shows is what it keeps.
void touchesCancelled(Self *self, SEL, NSSet *touches, id event)
{
    if (self->m_loupeLayer)
        self->m_loupeLayer->dismiss(true);
    tellDelegateOfTouches(self, "colorPicker:touchesEnded:withEvent:"_sel, touches, event);
}

void prepareForDiameter(id, SEL, CGFloat diameter, CGFloat scale, CGFloat padding,
                        BOOL inBackground)
{
    CVPrepareColorWheel(diameter * scale, padding * scale, inBackground);
}

} // namespace imp

const Class kRegistered = ColorPickerView::class_();

} // namespace

Class ColorPickerView::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<ColorPickerView>("ColorPickerView", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("initRoutine", imp::initRoutine)
            .method("setFrame:", imp::setFrame)
            .method("setBounds:", imp::setBounds)
            .method("didMoveToWindow", imp::didMoveToWindow)
            .method("delegate", imp::delegate)
            .method("setDelegate:", imp::setDelegate)
            .method("cropToCircle", imp::cropToCircle)
            .method("setCropToCircle:", imp::setCropToCircle)
            .method("showLoupe", imp::showLoupe)
            .method("setShowLoupe:", imp::setShowLoupe)
            .method("scale", imp::scale)
            .method("paddingDistance", imp::paddingDistance)
            .method("selectionColor", imp::selectionColor)
            .method("setSelectionColor:", imp::setSelectionColor)
            .method("brightness", imp::brightness)
            .method("setBrightness:", imp::setBrightness)
            .method("opacity", imp::opacity)
            .method("setOpacity:", imp::setOpacity)
            .method("selection", imp::selection)
            .method("setSelection:", imp::setSelection)
            .method("colorAtPoint:", imp::colorAtPoint)
            .method("validPointForTouch:", imp::validPointForTouch)
            .method("touchesBegan:withEvent:", imp::touchesBegan)
            .method("touchesMoved:withEvent:", imp::touchesMoved)
            .method("touchesEnded:withEvent:", imp::touchesEnded)
            .method("touchesCancelled:withEvent:", imp::touchesCancelled)
            .classMethod("prepareForDiameter:scale:padding:inBackground:", imp::prepareForDiameter)
            .registerClass();
    }();
    return cls;
}

CGPoint ColorPickerView::selection() const
{
    return m_state->selectionPoint(side(), kPadding);
}
