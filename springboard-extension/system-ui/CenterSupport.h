#pragma once
// What Control Center and Notification Center have in common: a blurred backdrop styled
// from a section's options, and, on iOS 9, an edge gesture that FrontBoard's system
// gesture manager holds for the main display and that a center withdraws to switch
// itself off.

#include "objc/objc.h"
#include "quartzcore/CGGeometry.h"
#include "settings-core/CVSettings.h"

struct UIColor;

// The opaque colour of a stored colour: red, green and blue over 255, alpha 1.0; the
// fourth stored number is not used.
UIColor *CVColorFromSetting(const CVColor &color);

// Sends a backdrop's `inputSettings` the blur radius, then either the tint colour and its
// opacity or the clear colour. A backdrop without settings is left alone.
void CVStyleBackdrop(id backdrop, CGFloat blurRadius, bool customTint, const CVColor &tint,
                     CGFloat tintAlpha);

// iOS 9: removes the recogniser from the main display's system gesture manager when
// `disabled` and it is registered, adds it back when not `disabled` and it is missing,
// and otherwise does nothing. A missing manager, map or recogniser does nothing.
void CVUpdateSystemGesture(id recognizer, bool disabled);

// Runs `action` on the main queue when SpringBoard posts
// UIApplicationDidFinishLaunchingNotification, once: the observer then removes itself,
// so nothing of the extension stays with the notification centre.
void CVWhenSpringBoardHasLaunched(void (*action)());

// Whether SpringBoard runs on iOS 9.
bool CVRunsIOS9();
