#pragma once
// The current drawing context and image contexts. UIKit keeps a stack of contexts per
// thread: drawRect: runs with the layer's context pushed, and an image context is pushed
// by UIGraphicsBeginImageContextWithOptions and popped by UIGraphicsEndImageContext.
// Image contexts use UIKit's coordinates, origin at the top-left and one unit per point,
// over size × scale pixels; a scale of 0 means the main screen's.

#include "quartzcore/CGContext.h"

struct UIImage;

extern "C" {

void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, CGFloat scale);
void UIGraphicsBeginImageContext(CGSize size);
// Nil when the stack is empty.
CGContextRef UIGraphicsGetCurrentContext();
// An autoreleased image of the current image context at its scale; nil when the current
// context is not an image context.
UIImage *UIGraphicsGetImageFromCurrentImageContext();
// Pops the current image context; a call without one is logged and ignored.
void UIGraphicsEndImageContext();

void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

} // extern "C"
