// `cvsim effect`: an icon image effect applied to a PNG file the way the extension
// applies it to an icon image (an image of scale 1 made from the file's data, the
// effect's filter, the result as PNG), and the list of effects with their titles. The
// result is written beside the output path first and moved into place whole, so a failed
// run leaves no output file behind.

#include "Commands.h"

#include "effects/CVIconImageEffect.h"
#include "foundation/NSData.h"
#include "uikit/UIImage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace sim {

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: cvsim effect EFFECT IN.png OUT.png  (EFFECT: a number or a title)\n"
                 "       cvsim effect --list\n");
    return 2;
}

int listEffects()
{
    for (const CVIconImageEffectEntry &entry : CVIconImageEffectTitles())
        std::printf("%d\t%s\n", int(entry.effect), entry.title);
    return 0;
}

// The effect a word names, by its number as --list prints it or by its title.
std::optional<CVIconImageEffect> effectNamed(const std::string &word)
{
    for (const CVIconImageEffectEntry &entry : CVIconImageEffectTitles())
        if (word == std::to_string(entry.effect))
            return entry.effect;
    return CVIconImageEffectNamed(word);
}

std::optional<std::vector<std::uint8_t>> readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
    if (file.bad())
        return std::nullopt;
    return bytes;
}

// Writes the image as PNG at `path` through a file beside it, removed again on failure.
bool writeWhole(UIImage *image, const std::string &path)
{
    std::string partial = path + ".partial";
    std::error_code error;
    if (writePNG(image, partial)) {
        std::filesystem::rename(partial, path, error);
        if (!error)
            return true;
    }
    std::filesystem::remove(partial, error);
    return false;
}

int applyEffect(const std::string &effectWord, const std::string &in, const std::string &out)
{
    std::optional<CVIconImageEffect> effect = effectNamed(effectWord);
    if (!effect) {
        std::fprintf(stderr,
                     "cvsim: no icon image effect \"%s\" (cvsim effect --list shows them)\n",
                     effectWord.c_str());
        return 2;
    }
    std::optional<std::vector<std::uint8_t>> bytes = readFile(in);
    if (!bytes) {
        std::fprintf(stderr, "cvsim: cannot read %s: %s\n", in.c_str(), std::strerror(errno));
        return 1;
    }
    UIImage *icon = UIImage::imageWithData(NSData::dataWithBytes(bytes->data(), bytes->size()));
    if (!icon) {
        std::fprintf(stderr, "cvsim: %s is not a PNG image\n", in.c_str());
        return 1;
    }
    UIImage *result = CVApplyIconImageEffect(icon, *effect);
    if (!result) {
        std::fprintf(stderr, "cvsim: no pixel buffer could be had for %s\n", in.c_str());
        return 1;
    }
    if (!writeWhole(result, out)) {
        std::fprintf(stderr, "cvsim: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int effectCommand(int argc, char **argv)
{
    AutoreleasePool pool;
    if (argc == 1 && std::strcmp(argv[0], "--list") == 0)
        return listEffects();
    if (argc != 3)
        return usage();
    return applyEffect(argv[0], argv[1], argv[2]);
}

} // namespace sim
