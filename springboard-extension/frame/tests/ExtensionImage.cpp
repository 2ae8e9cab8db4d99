// The extension as SpringBoard loads it for the feature groups' tests: an image whose
// load-time constructor runs the entry of the test binary that asked SpringBoard to load
// it (the binary exports its symbols), so the tests see the very replacements and
// settings that SpringBoard calls.

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
