#pragma once
// The speed of SpringBoard's own animations. With "customSpeed" on, SpringBoard's
// animation factory settings answer the user's "animationSpeed" as their slow-down factor
// (and `slowAnimations` YES exactly when it is above 1.0), and before iOS 9 the backlight
// fade lasts SpringBoard's own duration times that factor. With it off, every answer is
// SpringBoard's own. The options are read at each call, so changes apply at once.

void SpringBoardAnimationsInit();
