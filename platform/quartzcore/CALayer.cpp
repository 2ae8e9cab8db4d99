// The layer class: registration, model values and the tree. Display is in
// LayerDisplay.cpp, animations in LayerAnimation.cpp, geometry maths in
// LayerGeometry.cpp.

#include "quartzcore/CALayer.h"

#include "foundation/NSArray.h"
#include "foundation/NSLog.h"
#include "quartzcore/LayerChangeObserver.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace sim {
void registerLayerDisplay(ClassBuilder<CALayer> &builder);
}

namespace {

Class g_layerClass;
sim::LayerChangeObserver g_changeObserver = nullptr;

bool isFinitePoint(CGPoint p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool isFiniteRect(CGRect r)
{
    return isFinitePoint(r.origin) && std::isfinite(r.size.width) && std::isfinite(r.size.height);
}

// The platform refuses non-finite geometry with an exception; here it is logged and the
// old value kept.
bool acceptGeometry(bool finite, const char *what)
{
    if (!finite)
        NSLog("CALayer: ignoring a non-finite %s", what);
    return finite;
}

id newLayer(id cls, SEL)
{
    return autorelease(msg<id>(cls, "new"_sel));
}

// Methods that forward to the member functions of the same name, so the registration
// below reads as the list of selectors it is.
template <auto Member> auto answer(CALayer *self, SEL)
{
    return (self->*Member)();
}

template <class> struct ArgumentOf;
template <class A> struct ArgumentOf<void (CALayer::*)(A)> {
    using type = std::decay_t<A>;
};

template <auto Member>
void take(CALayer *self, SEL, typename ArgumentOf<decltype(Member)>::type value)
{
    (self->*Member)(value);
}

template <auto Member> void perform(CALayer *self, SEL)
{
    (self->*Member)();
}

void setTransform(CALayer *self, SEL, CATransform3D transform)
{
    CATransform3D before = self->transform();
    self->setTransform(transform);
    if (g_changeObserver)
        g_changeObserver(self, sim::AnimatedProperty::Transform, before, self->transform());
}

void insertSublayerAtIndex(CALayer *self, SEL, CALayer *layer, unsigned index)
{
    self->insertSublayerAtIndex(layer, index);
}

void insertSublayerBelow(CALayer *self, SEL, CALayer *layer, CALayer *sibling)
{
    self->insertSublayerBelow(layer, sibling);
}

void insertSublayerAbove(CALayer *self, SEL, CALayer *layer, CALayer *sibling)
{
    self->insertSublayerAbove(layer, sibling);
}

CGPoint convertPointToLayer(CALayer *self, SEL, CGPoint point, CALayer *layer)
{
    return sim::convertPointToLayer(self, point, layer);
}

CGPoint convertPointFromLayer(CALayer *self, SEL, CGPoint point, CALayer *layer)
{
    return sim::convertPointToLayer(layer, point, self);
}

Class registerLayerClass()
{
    ClassBuilder<CALayer> builder("CALayer", "NSObject");
    builder.classMethod("layer", newLayer)
        .method("bounds", answer<&CALayer::bounds>)
        .method("setBounds:", take<&CALayer::setBounds>)
        .method("position", answer<&CALayer::position>)
        .method("setPosition:", take<&CALayer::setPosition>)
        .method("anchorPoint", answer<&CALayer::anchorPoint>)
        .method("setAnchorPoint:", take<&CALayer::setAnchorPoint>)
        .method("zPosition", answer<&CALayer::zPosition>)
        .method("setZPosition:", take<&CALayer::setZPosition>)
        .method("frame", answer<&CALayer::frame>)
        .method("setFrame:", take<&CALayer::setFrame>)
        .method("transform", answer<&CALayer::transform>)
        .method("setTransform:", setTransform)
        .method("sublayerTransform", answer<&CALayer::sublayerTransform>)
        .method("setSublayerTransform:", take<&CALayer::setSublayerTransform>)
        .method("affineTransform", answer<&CALayer::affineTransform>)
        .method("setAffineTransform:", take<&CALayer::setAffineTransform>)
        .method("opacity", answer<&CALayer::opacity>)
        .method("setOpacity:", take<&CALayer::setOpacity>)
        .method("isHidden", answer<&CALayer::isHidden>)
        .method("setHidden:", take<&CALayer::setHidden>)
        .method("backgroundColor", answer<&CALayer::backgroundColor>)
        .method("setBackgroundColor:", take<&CALayer::setBackgroundColor>)
        .method("cornerRadius", answer<&CALayer::cornerRadius>)
        .method("setCornerRadius:", take<&CALayer::setCornerRadius>)
        .method("masksToBounds", answer<&CALayer::masksToBounds>)
        .method("setMasksToBounds:", take<&CALayer::setMasksToBounds>)
        .method("contents", answer<&CALayer::contents>)
        .method("setContents:", take<&CALayer::setContents>)
        .method("contentsScale", answer<&CALayer::contentsScale>)
        .method("setContentsScale:", take<&CALayer::setContentsScale>)
        .method("filters", answer<&CALayer::filters>)
        .method("setFilters:", take<&CALayer::setFilters>)
        .method("shouldRasterize", answer<&CALayer::shouldRasterize>)
        .method("setShouldRasterize:", take<&CALayer::setShouldRasterize>)
        .method("sublayers", answer<&CALayer::sublayers>)
        .method("superlayer", answer<&CALayer::superlayer>)
        .method("addSublayer:", take<&CALayer::addSublayer>)
        .method("insertSublayer:atIndex:", insertSublayerAtIndex)
        .method("insertSublayer:below:", insertSublayerBelow)
        .method("insertSublayer:above:", insertSublayerAbove)
        .method("removeFromSuperlayer", perform<&CALayer::removeFromSuperlayer>)
        .method("delegate", answer<&CALayer::delegate>)
        .method("setDelegate:", take<&CALayer::setDelegate>)
        .method("setNeedsDisplay", perform<&CALayer::setNeedsDisplay>)
        .method("needsDisplay", answer<&CALayer::needsDisplay>)
        .method("displayIfNeeded", perform<&CALayer::displayIfNeeded>)
        .method("removeAllAnimations", perform<&CALayer::removeAllAnimations>)
        .method("convertPoint:toLayer:", convertPointToLayer)
        .method("convertPoint:fromLayer:", convertPointFromLayer);
    sim::registerLayerDisplay(builder);
    return builder.registerClass();
}

const Class kRegistered = g_layerClass = registerLayerClass();

bool isAncestorOrSelf(const CALayer *candidate, const CALayer *layer)
{
    for (const CALayer *l = layer; l; l = l->m_superlayer)
        if (l == candidate)
            return true;
    return false;
}

} // namespace

void sim::setLayerChangeObserver(LayerChangeObserver observer)
{
    g_changeObserver = observer;
}

Class CALayer::class_()
{
    return g_layerClass;
}

CALayer *CALayer::layer()
{
    return static_cast<CALayer *>(msg<id>(reinterpret_cast<id>(g_layerClass), "layer"_sel));
}

// Sublayers that others still hold outlive us without a superlayer.
CALayer::~CALayer()
{
    for (auto &sublayer : m_sublayers)
        sublayer->m_superlayer = nullptr;
}

void CALayer::setBounds(CGRect bounds)
{
    if (acceptGeometry(isFiniteRect(bounds), "bounds"))
        m_bounds = bounds;
}

void CALayer::setPosition(CGPoint position)
{
    if (acceptGeometry(isFinitePoint(position), "position"))
        m_position = position;
}

void CALayer::setAnchorPoint(CGPoint anchorPoint)
{
    if (acceptGeometry(isFinitePoint(anchorPoint), "anchor point"))
        m_anchorPoint = anchorPoint;
}

void CALayer::setZPosition(CGFloat zPosition)
{
    if (acceptGeometry(std::isfinite(zPosition), "zPosition"))
        m_zPosition = zPosition;
}

// The transform is stored as given, as on the platform; the renderer skips a layer whose
// mapping is not finite.
void CALayer::setTransform(const CATransform3D &transform)
{
    m_transform = transform;
}

void CALayer::setSublayerTransform(const CATransform3D &transform)
{
    m_sublayerTransform = transform;
}

CGAffineTransform CALayer::affineTransform() const
{
    return CATransform3DGetAffineTransform(m_transform);
}

void CALayer::setAffineTransform(CGAffineTransform transform)
{
    m_transform = CATransform3DMakeAffineTransform(transform);
}

CGRect CALayer::frame() const
{
    CATransform3D toSuperlayer = sim::layerToSuperlayer(model(), nullptr);
    CGRect b = m_bounds;
    CGPoint corners[4] = {{CGRectGetMinX(b), CGRectGetMinY(b)},
                          {CGRectGetMaxX(b), CGRectGetMinY(b)},
                          {CGRectGetMinX(b), CGRectGetMaxY(b)},
                          {CGRectGetMaxX(b), CGRectGetMaxY(b)}};
    CGRect box = CGRectNull;
    for (CGPoint corner : corners) {
        sim::ProjectedPoint p = sim::projectPoint(toSuperlayer, corner);
        if (p.inFront)
            box = CGRectUnion(box, CGRectMake(p.point.x, p.point.y, 0, 0));
    }
    return box;
}

// Under a transform that only scales and translates, the frame still determines the
// bounds size; under any other transform only the position follows the frame.
void CALayer::setFrame(CGRect frame)
{
    if (!acceptGeometry(isFiniteRect(frame), "frame"))
        return;
    frame = CGRectStandardize(frame);
    const CATransform3D &t = m_transform;
    bool scalesOnly = CATransform3DIsAffine(t) && t.m12 == 0 && t.m21 == 0;
    if (scalesOnly && t.m11 != 0 && t.m22 != 0)
        m_bounds.size = {frame.size.width / std::abs(t.m11), frame.size.height / std::abs(t.m22)};
    CGFloat translationX = scalesOnly ? t.m41 : 0, translationY = scalesOnly ? t.m42 : 0;
    m_position = {frame.origin.x + m_anchorPoint.x * frame.size.width - translationX,
                  frame.origin.y + m_anchorPoint.y * frame.size.height - translationY};
}

void CALayer::setOpacity(float opacity)
{
    if (acceptGeometry(!std::isnan(opacity), "opacity"))
        m_opacity = std::clamp(opacity, 0.0f, 1.0f);
}

void CALayer::setCornerRadius(CGFloat radius)
{
    if (acceptGeometry(std::isfinite(radius), "corner radius"))
        m_cornerRadius = std::max<CGFloat>(radius, 0);
}

void CALayer::setContentsScale(CGFloat scale)
{
    if (acceptGeometry(std::isfinite(scale) && scale > 0, "contents scale"))
        m_contentsScale = scale;
}

// The platform copies the array, so later changes to a mutable one do not reach us.
void CALayer::setFilters(NSArray *filters)
{
    m_filters = filters ? NSArray::arrayWithArray(filters) : nullptr;
}

NSArray *CALayer::sublayers() const
{
    if (m_sublayers.empty())
        return nullptr;
    NSMutableArray *array = NSMutableArray::array();
    for (const auto &sublayer : m_sublayers)
        array->addObject(sublayer.get());
    return array;
}

void CALayer::addSublayer(CALayer *layer)
{
    insertSublayerAtIndex(layer, unsigned(std::min<std::size_t>(m_sublayers.size(), ~0u)));
}

void CALayer::insertSublayerAtIndex(CALayer *layer, unsigned index)
{
    if (!layer)
        return;
    if (isAncestorOrSelf(layer, this)) {
        NSLog("CALayer: refusing to make a layer a sublayer of itself or of its own sublayer");
        return;
    }
    StrongRef<CALayer> keep(layer);
    layer->removeFromSuperlayer();
    index = unsigned(std::min<std::size_t>(index, m_sublayers.size()));
    m_sublayers.insert(m_sublayers.begin() + index, keep);
    layer->m_superlayer = this;
}

void CALayer::insertSublayerBelow(CALayer *layer, CALayer *sibling)
{
    if (!layer)
        return;
    auto found = std::find(m_sublayers.begin(), m_sublayers.end(), sibling);
    if (found == m_sublayers.end()) {
        if (sibling)
            NSLog("CALayer: insertSublayer:below: with a layer that is not a sublayer");
        insertSublayerAtIndex(layer, 0);
        return;
    }
    // Removing `layer` first may move the sibling.
    StrongRef<CALayer> keep(layer);
    layer->removeFromSuperlayer();
    found = std::find(m_sublayers.begin(), m_sublayers.end(), sibling);
    insertSublayerAtIndex(layer, unsigned(found - m_sublayers.begin()));
}

void CALayer::insertSublayerAbove(CALayer *layer, CALayer *sibling)
{
    if (!layer)
        return;
    auto found = std::find(m_sublayers.begin(), m_sublayers.end(), sibling);
    if (found == m_sublayers.end()) {
        if (sibling)
            NSLog("CALayer: insertSublayer:above: with a layer that is not a sublayer");
        addSublayer(layer);
        return;
    }
    StrongRef<CALayer> keep(layer);
    layer->removeFromSuperlayer();
    found = std::find(m_sublayers.begin(), m_sublayers.end(), sibling);
    insertSublayerAtIndex(layer, unsigned(found - m_sublayers.begin() + 1));
}

void CALayer::removeFromSuperlayer()
{
    CALayer *superlayer = m_superlayer;
    if (!superlayer)
        return;
    m_superlayer = nullptr;
    auto &siblings = superlayer->m_sublayers;
    auto found = std::find(siblings.begin(), siblings.end(), this);
    if (found != siblings.end())
        siblings.erase(found); // may release the last reference to us: touch nothing after
}
