#pragma once
// CVScreenMetrics: the screen's size as the library's layouts want it. The main screen's
// bounds are read once, on the first call, and kept for the life of the process; the
// oriented width and height turn that kept size for a pad held in landscape, whose
// layouts run along the long side. A phone always answers the kept size as it is.
//
// The class methods are registered when the library loads; C++ callers call the static
// members, which are the same methods without a message.

#include "objc/ClassBuilder.h"
#include "quartzcore/CGGeometry.h"

struct CVScreenMetrics : NSObject {
    static Class class_();

    // +isPad: YES when the current device answers userInterfaceIdiom with the pad idiom;
    // NO for any other idiom and when the device does not answer it at all.
    static BOOL isPad();
    // +screenSize: the main screen's bounds size, read on the first call and kept.
    static CGSize screenSize();
    // +orientedScreenWidth: the kept height on a pad whose application's interface
    // orientation is landscape (3 or 4), else the kept width.
    static CGFloat orientedScreenWidth();
    // +orientedScreenHeight: the kept width on a pad in landscape, else the kept height.
    static CGFloat orientedScreenHeight();
};
