#include "Deliverables.h"

#include "BuiltDeliverables.h"
#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {

namespace {

bool isCurrent(const struct stat &source, const std::string &destination)
{
    struct stat installed {};
    if (stat(destination.c_str(), &installed) != 0)
        return false;
    return S_ISREG(installed.st_mode) && installed.st_size == source.st_size &&
           installed.st_mtim.tv_sec == source.st_mtim.tv_sec &&
           installed.st_mtim.tv_nsec == source.st_mtim.tv_nsec;
}

std::string describeErrno(const std::string &what, const std::string &path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

[[nodiscard]] bool copyContents(int from, int to)
{
    char buffer[1 << 16];
    for (;;) {
        ssize_t count = read(from, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0;
        for (ssize_t written = 0; written < count;) {
            ssize_t step = write(to, buffer + written, static_cast<size_t>(count - written));
            if (step < 0 && errno == EINTR)
                continue;
            if (step < 0)
                return false;
            written += step;
        }
    }
}

// Copies `source` to a temporary file beside `destination`, gives it the source's mode
// and times, and renames it into place. Answers an error message, or "" when done.
std::string copyAtomically(const std::string &source, const struct stat &sourceStat,
                           const std::string &destination)
{
    if (!makeDirectories(fs::path(destination).parent_path().string()))
        return describeErrno("cannot make the directory of", destination);
    int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return describeErrno("cannot read", source);
    std::string temporary = destination + ".cvsim-XXXXXX";
    int to = mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0) {
        std::string error = describeErrno("cannot write beside", destination);
        close(from);
        return error;
    }
    const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
    bool copied = copyContents(from, to) && fchmod(to, sourceStat.st_mode & 07777) == 0 &&
                  futimens(to, times) == 0;
    std::string error = copied ? "" : describeErrno("cannot copy to", destination);
    close(from);
    if (close(to) != 0 && error.empty())
        error = describeErrno("cannot finish", destination);
    if (error.empty() && rename(temporary.c_str(), destination.c_str()) != 0)
        error = describeErrno("cannot put in place", destination);
    if (!error.empty())
        unlink(temporary.c_str());
    return error;
}

void installFile(const std::string &source, const std::string &phonePath, InstallReport &report)
{
    struct stat sourceStat {};
    if (stat(source.c_str(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode)) {
        report.errors.push_back("the build has no " + source + " for " + phonePath +
                                ": build it first");
        return;
    }
    std::string destination = hostPath(phonePath);
    if (isCurrent(sourceStat, destination))
        return;
    std::string error = copyAtomically(source, sourceStat, destination);
    if (error.empty())
        report.copied.push_back(phonePath);
    else
        report.errors.push_back(error);
}

void installDirectory(const std::string &source, const std::string &phonePath,
                      InstallReport &report)
{
    std::error_code error;
    for (fs::recursive_directory_iterator entry(source, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_regular_file())
            continue;
        std::string relative = fs::relative(entry->path(), source).string();
        installFile(entry->path().string(), phonePath + "/" + relative, report);
    }
    if (error)
        report.errors.push_back("cannot read " + source + ": " + error.message());
}

} // namespace

std::vector<DeliverableFile> builtDeliverables()
{
    std::vector<DeliverableFile> deliverables;
    for (const built::Deliverable &deliverable : built::kDeliverables)
        deliverables.push_back({deliverable.buildPath, deliverable.phonePath});
    return deliverables;
}

InstallReport installDeliverables(const std::vector<DeliverableFile> &deliverables)
{
    InstallReport report;
    for (const DeliverableFile &deliverable : deliverables) {
        if (fs::is_directory(deliverable.buildPath))
            installDirectory(deliverable.buildPath, deliverable.phonePath, report);
        else
            installFile(deliverable.buildPath, deliverable.phonePath, report);
    }
    return report;
}

std::string springBoardExecutable()
{
    return built::kSpringBoardExecutable;
}

std::string deviceToolExecutable()
{
    return built::kDeviceTool;
}

std::string settingsAppExecutable()
{
    return built::kSettingsAppExecutable;
}

} // namespace sim
