#pragma once
// Images for the page: PNG files inside "data:" URLs, so that the page needs no second
// request (and the server no store of images) for the icons and drawn pages it shows.

#include "quartzcore/CGImage.h"

#include <optional>
#include <string>

namespace sim {

// "data:image/png;base64,…", or nothing for nil or an image that cannot be encoded.
std::optional<std::string> pngDataUrl(CGImageRef image);

} // namespace sim
