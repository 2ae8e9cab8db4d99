#pragma once
// The page's own files (web/index.html, app.css, app.js), built into the program. The
// server answers only these names; nothing a request says ever reaches the file system.

#include <optional>
#include <string_view>

namespace sim {

struct WebResource {
    std::string_view contentType;
    std::string_view content;
};

// The resource of that name ("index.html", "app.css", "app.js"), or nothing.
std::optional<WebResource> webResource(std::string_view name);

} // namespace sim
