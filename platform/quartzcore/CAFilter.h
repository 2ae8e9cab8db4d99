#pragma once
// Filters that a layer applies to what it draws (CALayer's `filters`). A filter is a name
// and a set of input values by key. The renderer applies "gaussianBlur": a Gaussian blur
// of the layer's own rendered subtree whose standard deviation is "inputRadius" points
// (an NSNumber; 0 when unset), that is inputRadius × scale pixels at the render scale,
// and "backdropBlur": the same blur of what was drawn behind the layer, under it, before
// the layer draws itself (a backdrop).
// Filters of other names are kept, answer their values and are not drawn.

#include "objc/ClassBuilder.h"

#include <map>
#include <string>

struct NSString;

struct CAFilter : NSObject {
    StrongRef<NSString> m_name;
    std::map<std::string, StrongRef<objc_object>> m_values;

    static Class class_();
    // A new autoreleased filter; nil for a nil name.
    static CAFilter *filterWithName(NSString *name);

    NSString *name() const { return m_name.get(); }
    // Retains the value; nil removes the key.
    void setValueForKey(id value, NSString *key);
    id valueForKey(NSString *key) const;
};

namespace sim {
inline constexpr const char *kGaussianBlurFilter = "gaussianBlur";
inline constexpr const char *kInputRadiusKey = "inputRadius";
// A blur of what was drawn behind the layer, under it (backdrops); "inputRadius" as above.
inline constexpr const char *kBackdropBlurFilter = "backdropBlur";
} // namespace sim
