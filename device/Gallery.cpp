// `cvsim gallery DIR [BOOT OPTIONS]`: every page-scroll effect as a user choosing one sees
// it. For each effect 1 … 38 a scripted device chooses it as the settings panel would,
// holds the home screen a little over a third of the way into a swipe to the next page
// (both pages show) and takes a screenshot, "NN-Title.png"; lifting the finger then lets
// the pages come to rest. A whole swipe to the next page is then recorded, and
// its animated image kept as "NN-Title.webp", the looping preview of the effect. The lock
// animations follow (LockGallery.cpp), then a contact sheet of every effect with its
// title, "gallery.png". The script runs on the virtual clock, so the gallery is quick and
// the same on every run.
//
// Everything is made in a staging folder inside DIR and moved into place only once every
// image exists, so a failed run leaves no partial gallery behind. While the device runs,
// its console goes to a file there, shown only when something fails.

#include "Commands.h"
#include "ContactSheet.h"
#include "GalleryParts.h"

#include "effects/CVScrollAnimations.h"
#include "foundation/NSString.h"

#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace sim {

namespace {

namespace fs = std::filesystem;

constexpr CVUIScrollAnimationID kFirstEffect = CVUIScrollAnimationRotateClockwise;
constexpr CVUIScrollAnimationID kLastEffect = CVUIScrollAnimationCount - 1;
// Both pages show, the leaving one more than the coming one.
constexpr const char *kHeldPagePosition = "0.35";
constexpr int kSheetColumns = 8;
constexpr const char *kSheetName = "gallery.png";
constexpr const char *kStagingName = ".gallery-partial";
// Enough frames to follow a swipe (about eight) while the gallery stays quick.
constexpr int kRecordedFramesPerSecond = 10;
// What a recording calls its animated image.
constexpr const char *kRecordingImageName = "recording.webp";

int usage(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\nusage: cvsim gallery DIR %s\n", error.c_str(),
                 kBootOptionsUsage);
    return 2;
}

int failed(const std::string &error)
{
    std::fprintf(stderr, "cvsim: %s\n", error.c_str());
    return 1;
}

std::string titleOf(CVUIScrollAnimationID effect)
{
    return CVUIScrollAnimationTitle(effect)->str();
}

std::string imageName(CVUIScrollAnimationID effect)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02u-", unsigned(effect));
    return number + fileNameSafe(titleOf(effect)) + ".png";
}

fs::path swipeRecording(const fs::path &staging, CVUIScrollAnimationID effect)
{
    return staging / (std::to_string(effect) + ".recording");
}

std::string animatedName(CVUIScrollAnimationID effect)
{
    return fs::path(imageName(effect)).replace_extension(".webp").string();
}

std::string galleryScript(const fs::path &staging)
{
    std::string script = "unlock\n";
    for (CVUIScrollAnimationID effect = kFirstEffect; effect <= kLastEffect; ++effect) {
        script +=
            "defaults write CVAnimations scrollAnimationType " + std::to_string(effect) + "\n";
        script += std::string("swipe-pages ") + kHeldPagePosition + " --hold\n";
        script += "screenshot " + quoted((staging / imageName(effect)).string()) + "\n";
        script += "swipe-pages 0\n";
        script += recordedScript(swipeRecording(staging, effect), "swipe-pages 1\n");
        script += "swipe-pages 0\n";
    }
    return script + lockGalleryScript(staging);
}

// Runs the script with this process's standard error, which the device's console shares,
// in the file `console`.
int runWithConsoleIn(const BootOptions &options, const fs::path &script, const fs::path &console)
{
    int log = open(console.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0)
        return failed("cannot write " + console.string());
    std::fflush(stderr);
    int saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    dup2(log, STDERR_FILENO);
    close(log);
    int status = runScriptOnFreshDevice(options, script.string());
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    return status;
}

void showConsole(const fs::path &console)
{
    std::ifstream file(console);
    std::string text(std::istreambuf_iterator<char>(file), {});
    std::fputs(text.c_str(), stderr);
}

// The screenshots and their captions, in effect order; nothing when one cannot be read.
std::optional<std::vector<ContactSheetEntry>> sheetEntries(const fs::path &staging)
{
    std::vector<ContactSheetEntry> entries;
    for (CVUIScrollAnimationID effect = kFirstEffect; effect <= kLastEffect; ++effect) {
        UIImage *image = readPNG((staging / imageName(effect)).string());
        if (!image)
            return std::nullopt;
        entries.push_back({image->CGImage(), std::to_string(effect) + "  " + titleOf(effect)});
    }
    return entries;
}

// Each effect's swipe recording, kept as its animated image; false when one is missing.
bool keepSwipeAnimations(const fs::path &staging, std::vector<std::string> &names)
{
    for (CVUIScrollAnimationID effect = kFirstEffect; effect <= kLastEffect; ++effect) {
        names.push_back(imageName(effect));
        names.push_back(animatedName(effect));
        if (!keepAnimatedImage(swipeRecording(staging, effect), staging / animatedName(effect)))
            return false;
    }
    return true;
}

// Moves every image named from the staging folder into `directory`, the sheet last.
bool moveIntoPlace(const fs::path &staging, const fs::path &directory,
                   std::vector<std::string> names)
{
    names.push_back(kSheetName);
    for (const std::string &name : names) {
        std::error_code error;
        fs::rename(staging / name, directory / name, error);
        if (error)
            return false;
        std::printf("%s\n", (directory / name).c_str());
    }
    return true;
}

int makeGallery(const BootOptions &options, const fs::path &directory, const fs::path &staging)
{
    fs::path script = staging / "gallery.script";
    fs::path console = staging / "console.log";
    std::ofstream(script) << galleryScript(staging);
    if (int status = runWithConsoleIn(options, script, console); status != 0) {
        showConsole(console);
        return status;
    }
    std::optional<std::vector<ContactSheetEntry>> entries = sheetEntries(staging);
    std::vector<std::string> names;
    if (!entries || !keepSwipeAnimations(staging, names) || !finishLockGallery(staging, names))
        return failed("the device left a screenshot or a recording unwritten");
    UIImage *sheet = makeContactSheet(*entries, kSheetColumns);
    if (!writePNG(sheet, (staging / kSheetName).string()))
        return failed("cannot write " + (staging / kSheetName).string());
    if (!moveIntoPlace(staging, directory, names))
        return failed("cannot move the gallery into " + directory.string());
    return 0;
}

} // namespace

std::string fileNameSafe(const std::string &title)
{
    std::string safe;
    bool pendingHyphen = false;
    for (unsigned char character : title) {
        if (!std::isalnum(character)) {
            pendingHyphen = !safe.empty();
            continue;
        }
        if (pendingHyphen)
            safe += '-';
        pendingHyphen = false;
        safe += static_cast<char>(character);
    }
    return safe;
}

std::string quoted(const std::string &text)
{
    std::string word = "\"";
    for (char character : text) {
        if (character == '"' || character == '\\')
            word += '\\';
        word += character;
    }
    return word + "\"";
}

std::string recordedScript(const fs::path &recording, const std::string &lines)
{
    return "record start " + quoted(recording.string()) + " --fps " +
           std::to_string(kRecordedFramesPerSecond) + "\n" + lines + "record stop\n";
}

bool keepAnimatedImage(const fs::path &recording, const fs::path &image)
{
    std::error_code error;
    fs::rename(recording / kRecordingImageName, image, error);
    return !error;
}

int galleryCommand(const std::vector<std::string> &words)
{
    ParsedBootOptions parsed = parseBootOptions(words);
    if (!parsed.options)
        return usage(parsed.error);
    if (parsed.options->operands.size() != 1)
        return usage("a gallery goes into one directory");
    std::error_code error;
    fs::path directory = fs::absolute(parsed.options->operands.front(), error);
    fs::path staging = directory / kStagingName;
    fs::remove_all(staging, error);
    if (!fs::create_directories(staging, error) || error)
        return failed("cannot make the directory " + staging.string());
    AutoreleasePool pool;
    int status = makeGallery(*parsed.options, directory, staging);
    fs::remove_all(staging, error);
    return status;
}

} // namespace sim
