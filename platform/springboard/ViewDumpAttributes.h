#pragma once
// What a host class adds to its views' entries in the device's dump, beyond the keys every
// view has (SpringBoardHost::dumpWindows): a badge's text and colours, a switcher card's
// scale, a section's size. Each feature area of the host registers its classes' attributes
// where it registers the classes; a view shows the attributes of every class in its chain,
// the superclass's first.

#include "objc/runtime.h"
#include "quartzcore/CGGeometry.h"

#include <nlohmann/json_fwd.hpp>

struct UIColor;
struct UIView;

namespace sim {

using ViewDumpAttributes = void (*)(UIView *view, nlohmann::json &node);

// Registers (or replaces) the attributes of the views of the class of that name.
void addViewDumpAttributes(const char *className, ViewDumpAttributes attributes);

// Adds the registered attributes of the view's classes to its node.
void addRegisteredViewAttributes(UIView *view, nlohmann::json &node);

// How the dump writes values that many areas show: a rectangle as [x, y, width, height],
// a colour as [red, green, blue, alpha] (null for none).
nlohmann::json rectJson(CGRect rect);
nlohmann::json colorJson(UIColor *color);

} // namespace sim
