#pragma once
// What the system interface tests share: SpringBoard launched with the extension loaded
// as it starts, its entry running the status bar and lock screen installers alone, in a
// process of its own per case, on the generation the case asks for.

#include "SpringBoardTest.h"

#include "settings-core/CVSettings.h"

namespace test {

class SystemUITest : public SpringBoardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Launches SpringBoard with the extension; `settings` is the body of the settings
    // file's top-level dictionary, read by the extension's entry.
    static void launchWithExtension(const sim::DeviceProfile &profile, const char *settings = "");
    // Replaces a string option of a section, as a live update does.
    static void setText(CFStringRef &option, const char *text);

private:
    std::vector<void (*)()> m_installers;
};

// The generations a case runs on, by Core Foundation version, with readable names.
std::string generationName(const testing::TestParamInfo<double> &info);

} // namespace test
