#include "PanelDriver.h"

#include "PanelScreen.h"

#include "uikit/GestureInput.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIControl.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"

namespace sim {

namespace {

using Refusal = std::optional<std::string>;

// The cell of the addressed row on the top page, or why there is none.
struct RowTarget {
    UITableView *table = nil;
    UITableViewCell *cell = nil;
    Refusal refusal;
};

RowTarget rowTarget(const RowAddress &address)
{
    UITableView *table = tableOfPage(topPage(panelNavigationController()));
    if (Refusal missing = checkRowExists(table, address.section, address.row))
        return {nil, nil, missing};
    UITableViewCell *cell = cellForRow(table, address.section, address.row);
    if (!cell)
        return {nil, nil, "the row has no cell"};
    return {table, cell, std::nullopt};
}

std::string rowName(const RowAddress &address)
{
    return "row " + std::to_string(address.row) + " of section " + std::to_string(address.section);
}

// A slider row opens its numeric entry through the tap recognizer on its cell; every
// other row is selected, as a finger lifting on it does.
Refusal perform(const TapRow &tap)
{
    RowTarget target = rowTarget(tap.row);
    if (target.refusal)
        return target.refusal;
    auto *recognizers = msg<NSArray *>(target.cell, "gestureRecognizers"_sel);
    if (recognizers && recognizers->count() > 0 && tapView(target.cell))
        return std::nullopt;
    selectRow(target.table, NSIndexPath::indexPathForRowInSection(tap.row.row, tap.row.section));
    return std::nullopt;
}

// A control changed by hand sends its value-changed event, which carries the new value
// to the row's setter; a value that does not change sends nothing, as on the phone.
Refusal perform(const SetSwitch &change)
{
    RowTarget target = rowTarget(change.row);
    if (target.refusal)
        return target.refusal;
    auto *toggle = static_cast<UISwitch *>(controlOfCell(target.cell, UISwitch::class_()));
    if (!toggle)
        return rowName(change.row) + " has no switch";
    if (static_cast<bool>(msg<BOOL>(toggle, "isOn"_sel)) == change.on)
        return std::nullopt;
    msg<void, BOOL>(toggle, "setOn:"_sel, change.on ? YES : NO);
    msg<void, UIControlEvents>(toggle, "sendActionsForControlEvents:"_sel,
                               UIControlEventValueChanged);
    return std::nullopt;
}

Refusal perform(const SetSlider &change)
{
    RowTarget target = rowTarget(change.row);
    if (target.refusal)
        return target.refusal;
    auto *slider = static_cast<UISlider *>(controlOfCell(target.cell, UISlider::class_()));
    if (!slider)
        return rowName(change.row) + " has no slider";
    float before = msg<float>(slider, "value"_sel);
    // The slider clamps the value to its range.
    msg<void, float>(slider, "setValue:"_sel, static_cast<float>(change.value));
    if (msg<float>(slider, "value"_sel) != before)
        msg<void, UIControlEvents>(slider, "sendActionsForControlEvents:"_sel,
                                   UIControlEventValueChanged);
    return std::nullopt;
}

Refusal perform(const EndTextEditing &edit)
{
    RowTarget target = rowTarget(edit.row);
    if (target.refusal)
        return target.refusal;
    auto *field = static_cast<UITextField *>(controlOfCell(target.cell, UITextField::class_()));
    if (!field)
        return rowName(edit.row) + " has no text field";
    typeText(field, NSString::stringWithString(edit.text));
    return std::nullopt;
}

Refusal perform(const PressAlertButton &press)
{
    std::vector<VisibleAlert> alerts = visibleAlerts();
    if (press.alert >= static_cast<long>(alerts.size()))
        return "alert " + std::to_string(press.alert) + " is not shown";
    const VisibleAlert &shown = alerts[static_cast<std::size_t>(press.alert)];
    if (press.button >= static_cast<long>(shown.buttons.size()))
        return "the alert has no button " + std::to_string(press.button);
    if (press.text) {
        UITextField *field = alertTextField(shown.alert);
        if (!field)
            return "the alert has no text field";
        msg<void>(field, "setText:"_sel, NSString::stringWithString(*press.text));
    }
    if (!pressAlertButton(shown.alert, press.button))
        return "the alert's button could not be pressed";
    return std::nullopt;
}

Refusal perform(const PressBarButton &press)
{
    UIViewController *page = topPage(panelNavigationController());
    if (!page)
        return "no page is shown";
    auto *item = msg<UINavigationItem *>(page, "navigationItem"_sel);
    auto *button = msg<UIBarButtonItem *>(
        item, press.side == BarSide::Left ? "leftBarButtonItem"_sel : "rightBarButtonItem"_sel);
    if (!button)
        return std::string("the navigation bar has no ") +
               (press.side == BarSide::Left ? "left" : "right") + " button";
    pressBarButton(button);
    return std::nullopt;
}

Refusal perform(const GoBack &)
{
    UINavigationController *navigation = panelNavigationController();
    auto *controllers = msg<NSArray *>(navigation, "viewControllers"_sel);
    if (!controllers || controllers->count() < 2)
        return "there is no page to go back to";
    msg<id, BOOL>(navigation, "popViewControllerAnimated:"_sel, NO);
    return std::nullopt;
}

// Touches go to pages that draw their own view, in that view's coordinates.
Refusal perform(const TouchView &touch)
{
    UIViewController *page = topPage(panelNavigationController());
    if (!page || tableOfPage(page))
        return "this page takes no touches";
    switch (touch.phase) {
    case TouchPhase::Began:
        if (!touchDown(msg<UIView *>(page, "view"_sel), touch.point))
            return "nothing is under the finger";
        break;
    case TouchPhase::Moved:
        touchMove(touch.point);
        break;
    case TouchPhase::Ended:
        touchUp(touch.point);
        break;
    }
    return std::nullopt;
}

Refusal perform(const TapBanner &)
{
    UIWindow *banner = bannerWindow();
    if (!banner)
        return "no banner is shown";
    CGRect bounds = banner->bounds();
    if (!tapAt(banner, CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds))))
        return "the banner does not take taps";
    return std::nullopt;
}

} // namespace

std::optional<std::string> applyPanelAction(const PanelAction &action)
{
    return std::visit([](const auto &chosen) { return perform(chosen); }, action);
}

} // namespace sim
