// Installing deliverables into a device root.

#include "Deliverables.h"

#include "foundation/DeviceRoot.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Deliverables : public testing::Test {
protected:
    void SetUp() override
    {
        m_base = fs::path(testing::TempDir()) /
                 ("deliverables-" + std::to_string(getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_base);
        fs::create_directories(m_base / "build");
        sim::setDeviceRoot((m_base / "root").string());
    }
    void TearDown() override { fs::remove_all(m_base); }

    std::string buildFile(const std::string &name, const std::string &contents)
    {
        fs::path path = m_base / "build" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << contents;
        return path.string();
    }

    static std::string installed(const std::string &phonePath)
    {
        std::ifstream file(sim::hostPath(phonePath));
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    fs::path m_base;
};

TEST_F(Deliverables, FilesLandAtTheirPhonePathsWithTheirModeAndTime)
{
    std::string library = buildFile("libcv3.dylib", "library bytes");
    chmod(library.c_str(), 0755);
    sim::InstallReport report = sim::installDeliverables({{library, "/usr/lib/libcv3.dylib"}});
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(report.copied, std::vector<std::string>{"/usr/lib/libcv3.dylib"});
    EXPECT_EQ(installed("/usr/lib/libcv3.dylib"), "library bytes");
    struct stat source {
    }, copy{};
    ASSERT_EQ(stat(library.c_str(), &source), 0);
    ASSERT_EQ(stat(sim::hostPath("/usr/lib/libcv3.dylib").c_str(), &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, 0755u);
    EXPECT_EQ(copy.st_mtim.tv_sec, source.st_mtim.tv_sec);
    EXPECT_EQ(copy.st_mtim.tv_nsec, source.st_mtim.tv_nsec);
    // Nothing but the deliverable is left in its directory.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(sim::hostPath("/usr/lib")), fs::directory_iterator()),
        1);
}

TEST_F(Deliverables, ACurrentCopyIsLeftAloneAndAChangedBuildIsCopiedAgain)
{
    std::string plist = buildFile("CorvaneBoard.plist", "filter v1");
    const std::string phonePath = "/Library/MobileSubstrate/DynamicLibraries/CorvaneBoard.plist";
    ASSERT_EQ(sim::installDeliverables({{plist, phonePath}}).copied.size(), 1u);
    EXPECT_TRUE(sim::installDeliverables({{plist, phonePath}}).copied.empty());

    buildFile("CorvaneBoard.plist", "filter version 2");
    struct timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, plist.c_str(), later, 0), 0);
    EXPECT_EQ(sim::installDeliverables({{plist, phonePath}}).copied.size(), 1u);
    EXPECT_EQ(installed(phonePath), "filter version 2");

    // A copy changed on the device (another size) is put back too.
    std::ofstream(sim::hostPath(phonePath)) << "edited";
    EXPECT_EQ(sim::installDeliverables({{plist, phonePath}}).copied.size(), 1u);
    EXPECT_EQ(installed(phonePath), "filter version 2");
}

TEST_F(Deliverables, ABundleIsInstalledFileByFileAndAMissingBuildReported)
{
    buildFile("CV3Settings.bundle/CV3Settings", "plug-in");
    buildFile("CV3Settings.bundle/icons/Dock.png", "icon");
    buildFile("CV3Settings.bundle/en.lproj/Settings.strings", "strings");
    std::string bundle = (m_base / "build" / "CV3Settings.bundle").string();
    sim::InstallReport report =
        sim::installDeliverables({{bundle, "/Library/PreferenceBundles/CV3Settings.bundle"}});
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(report.copied.size(), 3u);
    EXPECT_EQ(installed("/Library/PreferenceBundles/CV3Settings.bundle/en.lproj/Settings.strings"),
              "strings");

    // A missing build is reported and the others still install.
    std::string present = buildFile("librocketbootstrap.dylib", "rb");
    sim::InstallReport missing = sim::installDeliverables({
        {(m_base / "build" / "CorvaneBoard.dylib").string(),
         "/Library/MobileSubstrate/DynamicLibraries/CorvaneBoard.dylib"},
        {present, "/usr/lib/librocketbootstrap.dylib"},
    });
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_NE(missing.errors[0].find("CorvaneBoard.dylib"), std::string::npos);
    EXPECT_EQ(installed("/usr/lib/librocketbootstrap.dylib"), "rb");
}

} // namespace
