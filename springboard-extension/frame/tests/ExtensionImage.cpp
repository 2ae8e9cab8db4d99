// The extension as SpringBoard loads it for the feature groups' tests: its constructor runs
// the entry of the test binary that asked for it (the binary exports its symbols).

#include "springboard-extension/frame/Extension.h"

namespace {

[[gnu::constructor]] void testExtensionDidLoad()
{
    ExtensionEntry();
}

[[gnu::destructor]] void testExtensionWillUnload()
{
    ExtensionExit();
}

} // namespace
