#pragma once
// A contact sheet: images side by side in rows, each scaled to one thumbnail width (the
// first image's proportions give every thumbnail's height), with its caption under it,
// on a dark ground, as one image of scale 1. Captions are drawn as UIKit's labels draw
// text, on at most two lines.

#include "uikit/UIImage.h"

#include <string>
#include <vector>

namespace sim {

struct ContactSheetEntry {
    CGImageRef image;
    std::string caption;
};

// Autoreleased; nil for no entries.
UIImage *makeContactSheet(const std::vector<ContactSheetEntry> &entries, int columns);

// The image of a PNG file at a host path (autoreleased); nil when it cannot be read or is
// not a PNG.
UIImage *readPNG(const std::string &hostPath);

} // namespace sim
