#pragma once
// The browser screen: where an application process of the device shows its windows. The
// phone draws an application's windows on its display; here a web server on 127.0.0.1
// (WebServer.h) answers a browser on the same machine with what the key window's
// navigation stack, alerts and banner hold (PanelState.h) and does what the page's
// gestures ask as a finger would (PanelDriver.h), on the main thread where the
// interface lives. Every request passes the AccessGuard: the session token printed with
// the address, this server's own host and origin.
//
// An application program links cvbrowserscreen_attach, which sets the screen with
// sim::setApplicationScreen when the program loads; UIApplicationMain then attaches it
// before the application launches. The program's arguments may name the port,
// "--port N" (0 to 65535; 0 or no option: a free port the system chooses), and the port
// of the device page that shows the application in a frame, "--framed-by PORT" (no other
// page may frame it). Attaching
// prints the address, "http://127.0.0.1:PORT/?token=TOKEN", as the one line of standard
// output, so whoever started the program learns where its screen is.

#include <optional>

namespace sim {

// Starts the screen's server for this process: nothing when it serves, else the exit
// status of a program that cannot be shown (wrong arguments, no device, no port), after
// a message on standard error.
std::optional<int> attachBrowserScreen(int argc, char **argv);

// Stops the server; the page then finds nothing.
void detachBrowserScreen();

} // namespace sim
