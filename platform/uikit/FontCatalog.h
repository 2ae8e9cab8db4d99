#pragma once
// The installed fonts, as fontconfig lists them. A font is asked for by its PostScript
// name or its full name, and only an exact match counts: fontconfig would happily answer
// its closest substitute for any name, but the platform answers nil for a font that is
// not installed, and callers rely on that to fall back to their own choice.
//
// The system font is whatever fontconfig chooses for "sans-serif" at the weight asked
// for, so a machine without the phone's own typeface still draws every label legibly.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct FontFace {
    std::string postScriptName;
    std::string fullName;
    std::string family;
    int weight = 0; // fontconfig's scale: 80 regular, 200 bold, 40 extra light
    bool italic = false;
};

enum class SystemFontWeight { UltraLight, Regular, Bold };

// Every installed face, listed once per process and sorted by PostScript name.
const std::vector<FontFace> &installedFaces();

// The face whose PostScript name or full name is exactly `name`, if one is installed.
std::optional<FontFace> faceNamed(std::string_view name);

// The face fontconfig picks for "sans-serif" at that weight.
FontFace systemFace(SystemFontWeight weight);

} // namespace sim
