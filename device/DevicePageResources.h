#pragma once
// The device page's own files (web/index.html, device.css, device.js), built into cvsim
// by platform/browserscreen/EmbedWebResources.cmake. The server answers only these
// names; nothing a request says ever reaches the file system.

#include "WebResources.h"

namespace sim {

// The file of that name, or nothing.
std::optional<WebResource> devicePageResource(std::string_view name);

} // namespace sim
