#pragma once
// Layers: the tree of rectangles that the renderer composites into the screen.
//
// Geometry, as the platform defines it. A layer's own coordinate space is its bounds: the
// point bounds.origin sits at its top-left corner, x grows to the right and y downwards.
// The anchor point is a position within the bounds in unit terms ((0.5, 0.5) is the
// centre); `position` says where in the superlayer's space the anchor point goes,
// `zPosition` how far towards the viewer. `transform` acts about the anchor point, and a
// superlayer's `sublayerTransform` acts on every sublayer about the superlayer's own
// anchor point. Under the conventions of CATransform3D.h (row vectors, Concat(a, b) is a
// then b), a point of the layer maps into its superlayer's space through
//
//     Translate(−anchor in bounds) × transform × Translate(position, zPosition)
//         × Translate(−superlayer anchor) × superlayer.sublayerTransform
//         × Translate(superlayer anchor)
//
// and the result is flattened into the superlayer's plane (z dropped, the perspective
// divisor kept) before the superlayer's own mapping applies, as every layer of the
// platform but a transform layer does. sim::layerToSuperlayer answers this matrix.
// `frame` is derived: the bounding box of the bounds mapped by position, anchor and
// transform (the platform leaves it undefined under a non-identity transform; this answer
// is the box). Setting it sets position and bounds size for the current transform.
//
// Model and presentation: setters store model values, which getters answer at once;
// animations (LayerAnimation.h) change only the presented values that the renderer draws.
// Layers have no implicit animations here; UIKit's animation blocks add explicit ones.
//
// Drawing: contents is an image scaled to fill the bounds. A layer asked to display
// (setNeedsDisplay, then displayIfNeeded or display) whose delegate answers
// drawLayer:inContext:, or whose class overrides drawInContext:, gets a new bitmap
// context of its bounds size × contentsScale pixels in UIKit's coordinates (origin at the
// top-left of the bounds, one unit per point), and the result becomes its contents.
//
// Every accessor is registered as a method of the class "CALayer" under its selector;
// C++ code may call the member functions, which are named after the selectors.

#include "objc/ClassBuilder.h"
#include "quartzcore/CATransform3D.h"
#include "quartzcore/CGColor.h"
#include "quartzcore/CGContext.h"
#include "quartzcore/CGImage.h"
#include "quartzcore/LayerAnimation.h"

#include <cstdint>
#include <vector>

struct NSArray;
struct NSString;
struct CABasicAnimation;

namespace sim {

// What the renderer draws of a layer at one moment: the model values with the layer's
// animations applied.
struct PresentedLayer {
    CGRect bounds;
    CGPoint position;
    CGPoint anchorPoint;
    CGFloat zPosition;
    CATransform3D transform;
    CATransform3D sublayerTransform;
    CGFloat opacity;
    ColorValue backgroundColor;
    CGFloat cornerRadius;
};

} // namespace sim

struct CALayer : NSObject {
    CGRect m_bounds = CGRectZero;
    CGPoint m_position = CGPointZero;
    CGPoint m_anchorPoint = {0.5, 0.5};
    CGFloat m_zPosition = 0;
    CATransform3D m_transform = CATransform3DIdentity;
    CATransform3D m_sublayerTransform = CATransform3DIdentity;
    float m_opacity = 1;
    bool m_hidden = false;
    bool m_masksToBounds = false;
    bool m_shouldRasterize = false;
    bool m_needsDisplay = false;
    StrongRef<CGColor> m_backgroundColor;
    CGFloat m_cornerRadius = 0;
    StrongRef<CGImage> m_contents;
    CGFloat m_contentsScale = 1;
    StrongRef<NSArray> m_filters;
    std::vector<StrongRef<CALayer>> m_sublayers;
    CALayer *m_superlayer = nullptr; // not retained: the superlayer owns us
    id m_delegate = nullptr;         // not retained, as on the platform

    struct RunningAnimation {
        sim::LayerAnimation animation;
        std::uint64_t serial; // names the animation to the timer that ends it
        std::uint64_t timer;  // that timer, a source of the main run loop
    };
    std::vector<RunningAnimation> m_animations;

    static Class class_();
    // A new layer, autoreleased.
    static CALayer *layer();
    ~CALayer();

    // Geometry.
    CGRect bounds() const { return m_bounds; }
    void setBounds(CGRect bounds);
    CGPoint position() const { return m_position; }
    void setPosition(CGPoint position);
    CGPoint anchorPoint() const { return m_anchorPoint; }
    void setAnchorPoint(CGPoint anchorPoint);
    CGFloat zPosition() const { return m_zPosition; }
    void setZPosition(CGFloat zPosition);
    CGRect frame() const;
    void setFrame(CGRect frame);
    const CATransform3D &transform() const { return m_transform; }
    void setTransform(const CATransform3D &transform);
    const CATransform3D &sublayerTransform() const { return m_sublayerTransform; }
    void setSublayerTransform(const CATransform3D &transform);
    CGAffineTransform affineTransform() const;
    void setAffineTransform(CGAffineTransform transform);

    // Appearance.
    float opacity() const { return m_opacity; }
    void setOpacity(float opacity);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }
    CGColorRef backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(CGColorRef color) { m_backgroundColor = color; }
    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius);
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { m_masksToBounds = masks; }
    CGImageRef contents() const { return m_contents.get(); }
    void setContents(CGImageRef contents) { m_contents = contents; }
    CGFloat contentsScale() const { return m_contentsScale; }
    void setContentsScale(CGFloat scale);
    // The CAFilters, of which the renderer applies "gaussianBlur".
    NSArray *filters() const { return m_filters.get(); }
    void setFilters(NSArray *filters);
    // Kept for the callers; the renderer draws a rasterised layer as any other.
    bool shouldRasterize() const { return m_shouldRasterize; }
    void setShouldRasterize(bool rasterize) { m_shouldRasterize = rasterize; }

    // The tree.
    // An autoreleased copy of the sublayers, or nil when there are none.
    NSArray *sublayers() const;
    CALayer *superlayer() const { return m_superlayer; }
    void addSublayer(CALayer *layer);
    // Inserting a layer removes it from its old superlayer first; an index past the end
    // appends, and a sibling that is not a sublayer of the receiver appends (above) or
    // puts first (below), with a logged error.
    void insertSublayerAtIndex(CALayer *layer, unsigned index);
    void insertSublayerBelow(CALayer *layer, CALayer *sibling);
    void insertSublayerAbove(CALayer *layer, CALayer *sibling);
    void removeFromSuperlayer();

    // Drawing.
    id delegate() const { return m_delegate; }
    void setDelegate(id delegate) { m_delegate = delegate; }
    void setNeedsDisplay() { m_needsDisplay = true; }
    bool needsDisplay() const { return m_needsDisplay; }
    // Sends display when the layer needs it.
    void displayIfNeeded();

    // Animations (LayerAnimation.h), and the phone's explicit ones (CABasicAnimation.h).
    void addAnimation(sim::LayerAnimation animation);
    void addAnimationForKey(CABasicAnimation *animation, NSString *key);
    void removeAnimationForKey(const std::string &key);
    void removeAnimationForKey(NSString *key);
    void removeAllAnimations();
    bool hasAnimations() const { return !m_animations.empty(); }
    // The model values alone, in the renderer's terms.
    sim::PresentedLayer model() const;
    // The model values with the animations applied at `time` on the process clock.
    sim::PresentedLayer presentedAt(double time) const;
    // The same at the clock's present.
    sim::PresentedLayer presented() const;
};

namespace sim {

// The anchor point in the layer's bounds coordinates.
CGPoint anchorInBounds(const PresentedLayer &layer);

// The mapping of the layer's bounds space into its superlayer's bounds space (see the
// top of this file), without the flattening; `superlayer` may be nil for a root, whose
// space is then the screen's, in points.
CATransform3D layerToSuperlayer(const PresentedLayer &layer, const PresentedLayer *superlayer);

// Drops the z that a mapping produces, keeping its x, y and perspective divisor: how a
// layer's plane is flattened into its superlayer's.
CATransform3D flattened(const CATransform3D &t);

// The mapping of `layer`'s bounds space into the space of `ancestor` (nil: the root's
// superlayer space, that is the screen), flattened at each level, with model values.
// The identity when `ancestor` is not an ancestor of `layer`.
CATransform3D layerToAncestor(CALayer *layer, CALayer *ancestor);

// Points between two layers of one tree, with model values; the platform's
// convertPoint:toLayer: and convertPoint:fromLayer: (also registered as those messages).
// A nil layer stands for the root of the other's tree. A point that cannot be mapped (no
// common root, or behind the viewer) answers unchanged.
CGPoint convertPointToLayer(CALayer *from, CGPoint point, CALayer *to);

} // namespace sim
