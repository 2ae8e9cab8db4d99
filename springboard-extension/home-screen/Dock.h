#pragma once
// The dock hidden altogether, or only its background. "hideDock" acts when SpringBoard
// makes its dock view, at start-up: the view is released as soon as it is made and
// SpringBoard gets none. "hideBackground" acts at every layout pass of the dock view,
// hiding or showing again each of its background views, so a live change shows at the
// next layout.

void DockInit();
