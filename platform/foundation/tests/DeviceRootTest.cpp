#include "foundation/DeviceRoot.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(DeviceRoot, PhonePathsResolveUnderTheChosenRootWhereDirectoriesAreMade)
{
    std::string root = testing::TempDir() + "device-root-test/";
    sim::setDeviceRoot(root);
    EXPECT_EQ(sim::deviceRoot(), testing::TempDir() + "device-root-test");
    EXPECT_EQ(sim::hostPath("/usr/lib/libcv3.dylib"), sim::deviceRoot() + "/usr/lib/libcv3.dylib");
    EXPECT_EQ(sim::hostPath("relative/file"), "relative/file");
    EXPECT_STREQ(getenv("CORVANE_DEVICE_ROOT"), sim::deviceRoot().c_str());

    // Directories are made with their parents; a file in the way is refused.
    std::string nested = testing::TempDir() + "device-root-dirs/a/b/c";
    ASSERT_TRUE(sim::makeDirectories(nested));
    struct stat info {};
    ASSERT_EQ(stat(nested.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));

    std::string file = testing::TempDir() + "device-root-file";
    FILE *handle = fopen(file.c_str(), "w");
    ASSERT_NE(handle, nullptr);
    fclose(handle);
    EXPECT_FALSE(sim::makeDirectories(file + "/below"));
}

} // namespace
