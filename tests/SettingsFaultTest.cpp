// Faults that must lose nothing while the settings panel (a child process) saves.

#include "../settings-core/tests/SettingsTestSupport.h"

#include "foundation/DeviceRoot.h"
#include "foundation/Foundation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <grp.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace cvtest;

constexpr const char *kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";
constexpr int kKills = 300;

// One save of the panel that changes three sections at once, each to `generation`: a
// file holding different generations in different sections would be a mix of two saves.
void saveGeneration(long generation)
{
    AutoreleasePool pool;
    std::string mark = std::to_string(generation);
    gCVStatusBar.load(dict({{"carrierString", text(mark.c_str())}}));
    gCVLockScreen.load(dict({{"timeText", text(mark.c_str())}}));
    gCVAnimations.load(dict({{"animationSpeed", real(static_cast<double>(generation))}}));
    CVSaveSettings();
}

// The generation the file on disk holds; -1 when it does not parse or its sections
// disagree.
long generationOnDisk()
{
    AutoreleasePool pool;
    NSDictionary *file = NSDictionary::dictionaryWithContentsOfFile(text(kSettingsPath));
    if (!file)
        return -1;
    auto entry = [file](const char *section, const char *key) -> id {
        auto *values = static_cast<NSDictionary *>(file->objectForKey(text(section)));
        return values ? values->objectForKey(text(key)) : nil;
    };
    auto *carrier = static_cast<NSString *>(entry("CVStatusBar", "carrierString"));
    auto *time = static_cast<NSString *>(entry("CVLockScreen", "timeText"));
    auto *speed = static_cast<NSNumber *>(entry("CVAnimations", "animationSpeed"));
    if (!carrier || !time || !speed || carrier->str() != time->str())
        return -1;
    long generation = carrier->str().empty() ? 0 : std::stol(carrier->str());
    return static_cast<long>(speed->doubleValue()) == generation ? generation : -1;
}

std::vector<std::string> preferencesFolder()
{
    std::vector<std::string> names;
    for (const auto &entry :
         std::filesystem::directory_iterator(sim::hostPath("/var/mobile/Library/Preferences")))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `save` in a child process and answers its exit status; 77 means the child could
// not set up the fault.
template <typename Save> int inChild(Save save)
{
    pid_t child = fork();
    if (child == 0)
        _exit(save());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The child's part of a failing save: the save must fail, say why in the log, and the
// panel's own sections keep the change (so that the next save can write it).
int saveMustFail()
{
    sim::LogCapture log;
    saveGeneration(99);
    std::vector<std::string> lines = log.lines();
    bool said = std::any_of(lines.begin(), lines.end(), [](const std::string &line) {
        return line.find("[Corvane][ERROR]: Couldn't write the settings file") == 0;
    });
    auto *kept = static_cast<NSString *>(gCVStatusBar.getValue(text("carrierString")));
    return said && kept && kept->str() == "99" ? 0 : 1;
}

class SettingsFault : public SettingsTest {
protected:
    // After a failed save: the file as it was, holding `generation`, and nothing beside it.
    void expectFileKept(const std::string &before, long generation)
    {
        EXPECT_EQ(readSettingsFileBytes(), before);
        EXPECT_EQ(generationOnDisk(), generation);
        EXPECT_EQ(preferencesFolder(), std::vector<std::string>{"com.kestrelworks.corvane3.plist"});
    }
};

TEST_F(SettingsFault, APanelKilledDuringSavesLeavesTheOldOrTheNewSettings)
{
    saveGeneration(1);
    std::mt19937 random(20261207);
    long onDisk = 1;
    for (int kill = 0; kill < kKills; ++kill) {
        long first = (kill + 1) * 10000L; // below 2^24: exact as a float
        pid_t panel = fork();
        ASSERT_GE(panel, 0);
        if (panel == 0) {
            for (long generation = first;; ++generation)
                saveGeneration(generation);
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 6000)(random));
        ASSERT_EQ(::kill(panel, SIGKILL), 0);
        ASSERT_EQ(waitpid(panel, nullptr, 0), panel);

        long generation = generationOnDisk();
        ASSERT_NE(generation, -1) << "after kill " << kill << " the file is broken or mixed";
        ASSERT_TRUE(generation == onDisk || (generation >= first && generation < first + 10000))
            << "kill " << kill << " left generation " << generation;
        onDisk = generation;
    }
    // The next save clears what the killed saves left half written.
    saveGeneration(2);
    EXPECT_EQ(generationOnDisk(), 2);
    EXPECT_EQ(preferencesFolder(), std::vector<std::string>{"com.kestrelworks.corvane3.plist"});
}

// A full disk: the file-size limit fails the save's write (EFBIG) where a full disk would
// (ENOSPC), without mounting a filesystem of a fixed size.
TEST_F(SettingsFault, ASaveOnAFullDiskFailsAndLeavesTheFile)
{
    saveGeneration(7);
    std::string before = readSettingsFileBytes();
    int status = inChild([] {
        struct rlimit limit {
            1024, 1024
        };
        if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 77;
        return saveMustFail();
    });
    ASSERT_NE(status, 77) << "cannot limit the file size";
    EXPECT_EQ(status, 0) << "the failed save did not say why";
    expectFileKept(before, 7);
}

// Root writes through any mode, so as root the save runs as another user (nobody).
TEST_F(SettingsFault, ASaveIntoAReadOnlySettingsFolderFailsAndLeavesTheFile)
{
    saveGeneration(8);
    std::string before = readSettingsFileBytes();
    std::string folder = sim::hostPath("/var/mobile/Library/Preferences");
    bool asRoot = geteuid() == 0;
    if (asRoot) {
        // Let the other user reach the folder and read the file, not write them.
        for (std::string path = folder; path.size() >= m_root.size();
             path = path.substr(0, path.rfind('/')))
            ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    } else {
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    }
    int status = inChild([asRoot] {
        if (asRoot && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            return 77;
        return saveMustFail();
    });
    chmod(folder.c_str(), 0755);
    if (status == 77)
        GTEST_SKIP() << "cannot change to another user";
    EXPECT_EQ(status, 0) << "the failed save did not say why";
    expectFileKept(before, 8);
}

} // namespace
