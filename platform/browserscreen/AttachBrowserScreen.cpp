// Linked into an application program (cvbrowserscreen_attach), so that its
// UIApplicationMain shows the windows on the browser screen.

#include "browserscreen/BrowserScreen.h"

#include "uikit/UIApplication.h"

namespace {

[[gnu::constructor]] void useBrowserScreen()
{
    sim::setApplicationScreen({sim::attachBrowserScreen, sim::detachBrowserScreen});
}

} // namespace
