#pragma once
// The pieces `cvsim gallery` shares between its page-scroll effects (Gallery.cpp) and its
// lock animations (LockGallery.cpp): names for files, words for the device's script, and
// the recording that becomes an animated image.

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

// "Rotate (Clockwise)" becomes "Rotate-Clockwise": letters and digits stay, every other
// run of characters becomes one hyphen, none at either end.
std::string fileNameSafe(const std::string &title);

// One script word holding any text.
std::string quoted(const std::string &text);

// Script lines recording into the folder `recording` what `lines` make the screen show.
std::string recordedScript(const std::filesystem::path &recording, const std::string &lines);

// Moves a recording's animated image to `image`; false when the recording left none.
bool keepAnimatedImage(const std::filesystem::path &recording, const std::filesystem::path &image);

// The lock animations' part of the gallery script, played on an unlocked home screen
// and leaving it unlocked: each animation recorded, with screenshots for its strip.
std::string lockGalleryScript(const std::filesystem::path &staging);

// Makes each lock animation's strip and animated image in `staging` from what the script
// left there; false when something is missing. Answers the names made through `names`.
bool finishLockGallery(const std::filesystem::path &staging, std::vector<std::string> &names);

} // namespace sim
