#include "uikit/FontCatalog.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace sim {
namespace {

struct PatternDeleter {
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

std::string stringOf(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return reinterpret_cast<const char *>(value);
}

int intOf(FcPattern *pattern, const char *object, int fallback)
{
    int value = fallback;
    FcPatternGetInteger(pattern, object, 0, &value);
    return value;
}

FontFace faceOf(FcPattern *pattern)
{
    FontFace face;
    face.postScriptName = stringOf(pattern, FC_POSTSCRIPT_NAME);
    face.fullName = stringOf(pattern, FC_FULLNAME);
    face.family = stringOf(pattern, FC_FAMILY);
    face.weight = intOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    face.italic = intOf(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    return face;
}

std::vector<FontFace> listFaces()
{
    Pattern everything(FcPatternCreate());
    FcObjectSet *objects =
        FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FULLNAME, FC_FAMILY, FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet *set = FcFontList(nullptr, everything.get(), objects);
    FcObjectSetDestroy(objects);
    std::vector<FontFace> faces;
    for (int i = 0; set && i < set->nfont; ++i) {
        FontFace face = faceOf(set->fonts[i]);
        if (!face.postScriptName.empty())
            faces.push_back(std::move(face));
    }
    if (set)
        FcFontSetDestroy(set);
    std::sort(faces.begin(), faces.end(), [](const FontFace &a, const FontFace &b) {
        return a.postScriptName < b.postScriptName;
    });
    return faces;
}

int fontconfigWeight(SystemFontWeight weight)
{
    switch (weight) {
    case SystemFontWeight::UltraLight:
        return FC_WEIGHT_EXTRALIGHT;
    case SystemFontWeight::Bold:
        return FC_WEIGHT_BOLD;
    case SystemFontWeight::Regular:
        break;
    }
    return FC_WEIGHT_REGULAR;
}

// fontconfig's configuration is shared by the process; matching is serialised because
// substitution edits the pattern through the shared configuration.
std::mutex g_matchLock;

} // namespace

const std::vector<FontFace> &installedFaces()
{
    static const std::vector<FontFace> faces = listFaces();
    return faces;
}

std::optional<FontFace> faceNamed(std::string_view name)
{
    for (const FontFace &face : installedFaces())
        if (face.postScriptName == name || face.fullName == name)
            return face;
    return std::nullopt;
}

FontFace systemFace(SystemFontWeight weight)
{
    std::lock_guard guard(g_matchLock);
    Pattern request(FcNameParse(reinterpret_cast<const FcChar8 *>("sans-serif")));
    FcPatternAddInteger(request.get(), FC_WEIGHT, fontconfigWeight(weight));
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, request.get(), &result));
    if (!match)
        return {"Sans", "Sans", "Sans", fontconfigWeight(weight), false};
    return faceOf(match.get());
}

} // namespace sim
