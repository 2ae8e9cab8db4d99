#pragma once
// What the system interface tests share: SpringBoard with the extension whose entry runs
// the status bar and lock screen installers alone (ExtensionTest.h), and string options
// replaced as a live update replaces them.

#include "springboard-extension/frame/tests/ExtensionTest.h"

namespace test {

class SystemUITest : public ExtensionTest {
protected:
    SystemUITest() : ExtensionTest({"StatusBarInit", "LockScreenInit"}) {}

    static void setText(CFStringRef &option, const char *text)
    {
        if (option)
            CFRelease(option);
        option = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
    }
};

} // namespace test
