#pragma once
// Getting a colour wheel bitmap. Making one is the costliest thing the picker does (a
// 750-pixel wheel is over half a million pixels), so a wheel is made once per pixel diameter
// and padding and shared by every picker of the process:
//
// - A generator makes the bitmap for one pixel diameter D and pixel padding P
//   (ColorWheelPixels.h) on the generators' operation queue, the concurrent global queue,
//   and keeps it. Whoever needs the bitmap waits until its generator has finished, so a
//   bitmap is complete whenever it is read, whichever thread asked first.
// - A class-wide cache keeps the generators by the text "%.1f-%.1f" of D and P: two
//   pickers of one size share one generator, and a second request for a wheel that is
//   still being made waits for the first generation instead of starting another. Entries
//   are kept for the life of the process, as the few process-wide caches of the system are.
// - A serial background queue prefetches wheels that a picker will soon need
//   (CVPrepareColorWheel), so that the picker finds its wheel made when it appears.

#include "objc/NSObject.h"
#include "quartzcore/CGImage.h"

// The wheel bitmap for a pixel diameter and pixel padding, waiting until it is made. A
// diameter of 0 or less (a view off-screen, or of no size) has no wheel: nil. A diameter
// whose bitmap would exceed the largest image side has none either, with a logged error.
// The generator is looked up in the cache; one made afresh is put into the cache only when
// `cache` is true.
StrongRef<CGImage> CVColorWheelBitmap(CGFloat pixelDiameter, CGFloat pixelPadding, bool cache);

// Makes and caches the wheel on the background queue: asynchronously when `inBackground`,
// else returning once it is made.
void CVPrepareColorWheel(CGFloat pixelDiameter, CGFloat pixelPadding, bool inBackground);
