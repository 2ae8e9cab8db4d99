#pragma once
// Doing what the page asks, as a finger would on the phone: on the main thread, against
// what is on screen at that moment. Everything an action points at is checked first (the
// row exists and has that control, the alert and its button are shown, the bar has that
// button, the page draws its own view); an action that points at nothing is refused with
// the reason and changes nothing.

#include "PanelAction.h"

#include <optional>
#include <string>

namespace sim {

// Nothing when the action was done, else why it was refused.
std::optional<std::string> applyPanelAction(const PanelAction &action);

} // namespace sim
