// CorvaneBoard's load-time entry and exit: the injection library loads the image into
// SpringBoard before SpringBoard has finished launching, and its constructor starts the
// extension there and then.

#include "springboard-extension/frame/Extension.h"

namespace {

[[gnu::constructor]] void corvaneBoardDidLoad()
{
    ExtensionEntry();
}

[[gnu::destructor]] void corvaneBoardWillUnload()
{
    ExtensionExit();
}

} // namespace
