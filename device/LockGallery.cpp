// The lock animations of `cvsim gallery`: for each animation a user can choose, a strip of
// five screenshots across it (at 0, 25, 50, 75 and 100% of its duration, "lock-N-Title.png")
// and an animated image of the whole of it ("lock-N-Title.webp"), recorded while the
// device locks. The screenshots are taken on the device clock while `lock` plays, so the
// strip is the same at every run.

#include "Commands.h"
#include "ContactSheet.h"
#include "GalleryParts.h"

#include "effects/CVLockAnimations.h"

#include <cstdio>

namespace sim {

namespace {

namespace fs = std::filesystem;

// Long enough to see, short enough for a quick gallery; the fractions below are of it.
constexpr double kDurationSeconds = 1.0;
constexpr double kStripFractions[] = {0, 0.25, 0.5, 0.75, 1.0};
constexpr int kStripLength = std::size(kStripFractions);

std::string baseName(unsigned type)
{
    return "lock-" + std::to_string(type) + "-" + fileNameSafe(CVLockAnimationTitles[type]);
}

fs::path frameName(const fs::path &staging, unsigned type, int index)
{
    return staging / (baseName(type) + "-" + std::to_string(index) + ".frame.png");
}

fs::path recordingFolder(const fs::path &staging, unsigned type)
{
    return staging / (baseName(type) + ".recording");
}

std::string percentOf(double fraction)
{
    return std::to_string(int(fraction * 100 + 0.5)) + "%";
}

std::string lockScript(const fs::path &staging, unsigned type)
{
    std::string lines =
        "defaults write CVAnimations lockAnimationType " + std::to_string(type) + "\n";
    std::string locking;
    for (int index = 0; index < kStripLength; ++index) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", kStripFractions[index] * kDurationSeconds);
        locking += std::string("screenshot-after ") + seconds + " " +
                   quoted(frameName(staging, type, index).string()) + "\n";
    }
    locking += "lock\n";
    // The animator finishes a moment after the screen goes dark; the next lock waits for it.
    return lines + recordedScript(recordingFolder(staging, type), locking) + "wait 1\nunlock\n";
}

// The five screenshots side by side, each captioned with its moment.
bool writeStrip(const fs::path &staging, unsigned type)
{
    std::vector<ContactSheetEntry> entries;
    for (int index = 0; index < kStripLength; ++index) {
        UIImage *frame = readPNG(frameName(staging, type, index).string());
        if (!frame)
            return false;
        entries.push_back({frame->CGImage(), percentOf(kStripFractions[index])});
    }
    UIImage *strip = makeContactSheet(entries, kStripLength);
    return strip && writePNG(strip, (staging / (baseName(type) + ".png")).string());
}

} // namespace

std::string lockGalleryScript(const fs::path &staging)
{
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.2f", kDurationSeconds);
    std::string script =
        std::string("defaults write CVAnimations lockAnimationDuration ") + duration + "\n";
    for (unsigned type = 1; type < CVLockAnimationTypeCount; ++type)
        script += lockScript(staging, type);
    return script + "defaults write CVAnimations lockAnimationType 0\n";
}

bool finishLockGallery(const fs::path &staging, std::vector<std::string> &names)
{
    for (unsigned type = 1; type < CVLockAnimationTypeCount; ++type) {
        std::string animated = baseName(type) + ".webp";
        if (!writeStrip(staging, type) ||
            !keepAnimatedImage(recordingFolder(staging, type), staging / animated))
            return false;
        names.push_back(baseName(type) + ".png");
        names.push_back(animated);
    }
    return true;
}

} // namespace sim
