#pragma once
// The pictures SpringBoard draws for itself, since the simulated phone ships no image
// files: application icons (a rounded square in a colour of the application's own with
// the first letter of its name), the live clock icon, the folder icon's miniature grid, the page
// dots and the wallpaper (a vertical gradient). Everything is drawn at the screen's scale, so it is
// as sharp as the screen; equal input gives equal pixels.
//
// Shapes are drawn pixel by pixel with an antialiased edge: a pixel is covered by the
// share of it that lies inside the rounded rectangle, judged at its centre (half a pixel
// of soft edge).

#include "uikit/UIImage.h"

#include <string>
#include <vector>

struct UIColor;

namespace sim {

struct RGBA {
    CGFloat red, green, blue, alpha;
};

// The colour of an application's icon, derived from its bundle identifier.
RGBA iconColorForIdentifier(const std::string &bundleIdentifier);

// Autoreleased images of `side` points square.
UIImage *applicationIconImage(const std::string &bundleIdentifier, const std::string &name,
                              CGFloat side);
// A translucent rounded square holding miniatures of up to nine of the images, in rows
// of three.
UIImage *folderIconImage(const std::vector<UIImage *> &contents, CGFloat side);
// The Clock application's live icon: a white dial on black whose hands show the time.
UIImage *clockIconImage(int hour, int minute, CGFloat side);
// A round dot `side` points across.
UIImage *pageDotImage(CGFloat side, CGFloat white, CGFloat alpha);

// A badge's parts: the red disc `side` points across that SpringBoard stretches behind
// the text, and the text in white on a transparent image `height` points tall, as wide as
// the text needs.
UIImage *badgeBackgroundImage(CGFloat side);
UIImage *badgeTextImage(const std::string &text, CGFloat height);

// The wallpaper fills the screen; its colour depends on the height only.
UIImage *wallpaperImage();
// The wallpaper's colour at a height given as a share of the screen (0 top, 1 bottom).
RGBA wallpaperColorAt(CGFloat fraction);

} // namespace sim
