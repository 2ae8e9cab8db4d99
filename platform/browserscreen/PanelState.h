#pragma once
// What the page draws: the settings application's interface as one JSON document, built
// on the main thread from the objects on screen, never from the settings themselves.
//
//   {"navigation": {"title": T, "tint": "#rrggbb"|null, "back": T|null,
//                   "left": T|null, "right": T|null},
//    "page": {"kind": "table", "sections": [{"header": T|null, "footer": T|null,
//                                            "rows": [ROW…]}…]}
//          | {"kind": "view", "image": "data:image/png;base64,…", "width": W, "height": H},
//    "alerts": [{"title": T, "message": T, "buttons": [T…],
//                "field": {"text": T, "placeholder": T}|null}…],
//    "banner": {"text": T}|null}
//
//   ROW: {"title": T|null, "detail": T|null, "icon": "data:image/png;base64,…"|null,
//         "font": {"name": N, "family": F, "weight": CSS_WEIGHT, "italic": B}|null,
//         "accessory": "checkmark"|"disclosure"|null, "tappable": B,
//         "control": {"kind": "switch", "on": B}
//                  | {"kind": "slider", "value": X, "min": X, "max": X, "showValue": B}
//                  | {"kind": "text", "text": T, "placeholder": T} | null}
//
// A row's font is given only when its label does not use the system font (the font
// chooser shows each name in its own face). A page without a table (the colour editor)
// is sent as an image of its view, `width` and `height` being its size in points, the
// space that touches are given in. The image has `imageScale` pixels a point when that is
// fewer than the screen's, else (and for 0) the screen's: the page asks for its display's,
// so that a drag step on a display coarser than the phone's sends no pixels it would
// throw away.

#include <nlohmann/json_fwd.hpp>

namespace sim {

nlohmann::json panelState(int imageScale = 0);

} // namespace sim
