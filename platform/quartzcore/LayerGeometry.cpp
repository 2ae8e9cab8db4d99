// Where a layer lies in its superlayer's space and on screen (conventions in CALayer.h).

#include "quartzcore/CALayer.h"
#include "quartzcore/PlaneProjection.h"

namespace sim {

CGPoint anchorInBounds(const PresentedLayer &layer)
{
    return {layer.bounds.origin.x + layer.anchorPoint.x * layer.bounds.size.width,
            layer.bounds.origin.y + layer.anchorPoint.y * layer.bounds.size.height};
}

CATransform3D layerToSuperlayer(const PresentedLayer &layer, const PresentedLayer *superlayer)
{
    CGPoint anchor = anchorInBounds(layer);
    CATransform3D mapping = CATransform3DMakeTranslation(-anchor.x, -anchor.y, 0);
    if (!CATransform3DIsIdentity(layer.transform))
        mapping = CATransform3DConcat(mapping, layer.transform);
    mapping = CATransform3DConcat(
        mapping, CATransform3DMakeTranslation(layer.position.x, layer.position.y, layer.zPosition));
    if (superlayer && !CATransform3DIsIdentity(superlayer->sublayerTransform)) {
        CGPoint center = anchorInBounds(*superlayer);
        mapping =
            CATransform3DConcat(mapping, CATransform3DMakeTranslation(-center.x, -center.y, 0));
        mapping = CATransform3DConcat(mapping, superlayer->sublayerTransform);
        mapping = CATransform3DConcat(mapping, CATransform3DMakeTranslation(center.x, center.y, 0));
    }
    return mapping;
}

CATransform3D flattened(const CATransform3D &t)
{
    CATransform3D flat = t;
    flat.m13 = flat.m23 = flat.m33 = flat.m43 = 0;
    return flat;
}

CATransform3D layerToAncestor(CALayer *layer, CALayer *ancestor)
{
    CATransform3D mapping = CATransform3DIdentity;
    for (CALayer *l = layer; l && l != ancestor; l = l->superlayer()) {
        PresentedLayer model = l->model();
        PresentedLayer superModel = l->superlayer() ? l->superlayer()->model() : PresentedLayer{};
        CATransform3D step = layerToSuperlayer(model, l->superlayer() ? &superModel : nullptr);
        mapping = CATransform3DConcat(mapping, flattened(step));
        if (!l->superlayer() && ancestor)
            return CATransform3DIdentity; // ran out of ancestors without meeting it
    }
    return mapping;
}

namespace {

CALayer *rootOf(CALayer *layer)
{
    while (layer->superlayer())
        layer = layer->superlayer();
    return layer;
}

// Maps `point` through `projection`; false when it lands at or behind the viewer.
bool mapPoint(const PlaneProjection &projection, CGPoint &point)
{
    double X, Y, W;
    projection.apply(point.x, point.y, X, Y, W);
    if (!(W > 0))
        return false;
    point = {X / W, Y / W};
    return true;
}

} // namespace

CGPoint convertPointToLayer(CALayer *from, CGPoint point, CALayer *to)
{
    if (!from && !to)
        return point;
    // A nil layer stands for the root of the other's tree, as for the window's layer.
    from = from ? from : rootOf(to);
    to = to ? to : rootOf(from);
    if (from == to || rootOf(from) != rootOf(to))
        return point;
    auto toScreen = PlaneProjection::of(layerToAncestor(from, nullptr));
    auto fromScreen = PlaneProjection::of(layerToAncestor(to, nullptr)).inverse();
    CGPoint mapped = point;
    if (!fromScreen || !mapPoint(toScreen, mapped) || !mapPoint(*fromScreen, mapped))
        return point;
    return mapped;
}

} // namespace sim
