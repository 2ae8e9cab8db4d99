#pragma once
// What the page may ask the panel to do: the user's own gestures, one per request, as a
// JSON object {"action": NAME, …}. The page never names a class, a selector or a key;
// it points at what it shows (a row by its section and row, the n-th alert, a bar
// button by its side) and the host does what a finger on the phone would do there.
//
//   {"action":"tap","section":S,"row":R}               a row is tapped
//   {"action":"switch","section":S,"row":R,"on":B}     a switch is turned
//   {"action":"slider","section":S,"row":R,"value":X}  a slider is let go at X
//   {"action":"text","section":S,"row":R,"text":T}     a text field's editing ends
//   {"action":"alert","alert":A,"button":B[,"text":T]} an alert button is pressed, after
//                                                      T was typed into its text field
//   {"action":"bar","side":"left"|"right"}             a navigation-bar button
//   {"action":"back"}                                  the back button
//   {"action":"touch","phase":"began"|"moved"|"ended","x":X,"y":Y}
//                                                      a finger on a page drawn as an
//                                                      image, at view coordinates
//   {"action":"banner"}                                the settings-changed banner
//
// Parsing checks everything that does not depend on what is on screen: the body's size,
// the action's name, the members it takes (no others), their types, that numbers are
// finite, that indexes are whole and not negative and texts valid UTF-8 of bounded
// length. Whether a row or alert exists is checked on the main thread against the
// interface (PanelDriver).

#include "quartzcore/CGGeometry.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sim {

inline constexpr std::size_t kMaxActionBodyBytes = 16 * 1024;
inline constexpr std::size_t kMaxTypedTextBytes = 1024;
// Larger than any table or list the panel shows; keeps indexes well inside NSInteger.
inline constexpr long kMaxIndex = 100000;
// Touches far outside the screen mean nothing; the bound keeps them finite in CGFloat.
inline constexpr double kMaxCoordinate = 100000;

struct RowAddress {
    long section = 0;
    long row = 0;
};

struct TapRow {
    RowAddress row;
};
struct SetSwitch {
    RowAddress row;
    bool on = false;
};
struct SetSlider {
    RowAddress row;
    double value = 0;
};
struct EndTextEditing {
    RowAddress row;
    std::string text;
};
struct PressAlertButton {
    long alert = 0;
    long button = 0;
    std::optional<std::string> text;
};
enum class BarSide { Left, Right };
struct PressBarButton {
    BarSide side = BarSide::Right;
};
struct GoBack {};
enum class TouchPhase { Began, Moved, Ended };
struct TouchView {
    TouchPhase phase = TouchPhase::Began;
    CGPoint point{};
};
struct TapBanner {};

using PanelAction = std::variant<TapRow, SetSwitch, SetSlider, EndTextEditing, PressAlertButton,
                                 PressBarButton, GoBack, TouchView, TapBanner>;

struct ParsedAction {
    std::optional<PanelAction> action;
    std::string error; // when there is no action
};

ParsedAction parsePanelAction(std::string_view body);

} // namespace sim
