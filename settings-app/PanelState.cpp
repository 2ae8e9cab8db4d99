#include "PanelState.h"

#include "DataUrl.h"
#include "PanelScreen.h"

#include "preferences/PSSliderTableCell.h"
#include "preferences/PSViewController.h"
#include "uikit/Snapshot.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIImage.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"

#include <fontconfig/fontconfig.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

using nlohmann::json;

namespace sim {

namespace {

json textOf(NSString *text)
{
    return text ? json(text->UTF8String()) : json(nullptr);
}

json textOfLabel(UILabel *label)
{
    NSString *text = label ? msg<NSString *>(label, "text"_sel) : nil;
    return text && text->length() ? textOf(text) : json(nullptr);
}

json hexColor(UIColor *color)
{
    if (!color)
        return nullptr;
    auto byte = [](CGFloat component) {
        return static_cast<int>(std::lround(std::clamp<CGFloat>(component, 0, 1) * 255));
    };
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", byte(color->m_red), byte(color->m_green),
                  byte(color->m_blue));
    return hex;
}

json imageOf(UIImage *image)
{
    std::optional<std::string> url = image ? pngDataUrl(image->CGImage()) : std::nullopt;
    return url ? json(*url) : json(nullptr);
}

// The navigation item's title, else the controller's, else, for a settings page, the
// name of the row that opened it, as the settings application titles its pages.
NSString *titleOf(UIViewController *page)
{
    if (NSString *title = msg<NSString *>(msg<id>(page, "navigationItem"_sel), "title"_sel))
        return title;
    if (NSString *title = msg<NSString *>(page, "title"_sel))
        return title;
    if (!msg<BOOL>(page, "isKindOfClass:"_sel, PSViewController::class_()))
        return nil;
    auto *specifier = msg<PSSpecifier *>(page, "specifier"_sel);
    return specifier ? specifier->m_name.get() : nil;
}

// The title of the back button: the item below's back item, else its title, else "Back",
// as the navigation bar shows it.
json backTitle(UINavigationController *navigation)
{
    auto *controllers = msg<NSArray *>(navigation, "viewControllers"_sel);
    if (!controllers || controllers->count() < 2)
        return nullptr;
    id below = controllers->objectAtIndex(controllers->count() - 2);
    auto *item = msg<UINavigationItem *>(below, "navigationItem"_sel);
    if (UIBarButtonItem *back = item->m_backBarButtonItem; back && back->m_title)
        return textOf(back->m_title);
    if (NSString *title = titleOf(static_cast<UIViewController *>(below)))
        return textOf(title);
    return "Back";
}

json buttonTitle(UIBarButtonItem *button)
{
    if (!button)
        return nullptr;
    return button->m_title ? textOf(button->m_title) : json("");
}

json navigationOf(UINavigationController *navigation, UIViewController *page)
{
    auto *item = msg<UINavigationItem *>(page, "navigationItem"_sel);
    auto *bar = msg<UINavigationBar *>(navigation, "navigationBar"_sel);
    return {{"title", textOf(titleOf(page))},
            {"tint", hexColor(msg<UIColor *>(bar, "tintColor"_sel))},
            {"back", item->m_hidesBackButton ? json(nullptr) : backTitle(navigation)},
            {"left", buttonTitle(item->m_leftBarButtonItem)},
            {"right", buttonTitle(item->m_rightBarButtonItem)}};
}

// The face of a label's font, when it is not the system's.
json fontOf(UILabel *label)
{
    auto *font = label ? msg<UIFont *>(label, "font"_sel) : nil;
    if (!font)
        return nullptr;
    const FontFace &face = font->m_face;
    for (SystemFontWeight weight :
         {SystemFontWeight::Regular, SystemFontWeight::Bold, SystemFontWeight::UltraLight})
        if (face.postScriptName == systemFace(weight).postScriptName)
            return nullptr;
    return {{"name", face.postScriptName},
            {"family", face.family},
            {"weight", std::lround(FcWeightToOpenTypeDouble(face.weight))},
            {"italic", face.italic}};
}

json accessoryOf(UITableViewCell *cell)
{
    switch (msg<UITableViewCellAccessoryType>(cell, "accessoryType"_sel)) {
    case UITableViewCellAccessoryCheckmark:
        return "checkmark";
    case UITableViewCellAccessoryDisclosureIndicator:
    case UITableViewCellAccessoryDetailDisclosureButton:
        return "disclosure";
    default:
        return nullptr;
    }
}

json controlOf(UITableViewCell *cell)
{
    if (auto *toggle = static_cast<UISwitch *>(controlOfCell(cell, UISwitch::class_())))
        return {{"kind", "switch"}, {"on", static_cast<bool>(msg<BOOL>(toggle, "isOn"_sel))}};
    if (auto *slider = static_cast<UISlider *>(controlOfCell(cell, UISlider::class_()))) {
        auto *sliderCell = msg<BOOL>(cell, "isKindOfClass:"_sel, PSSliderTableCell::class_())
                               ? static_cast<PSSliderTableCell *>(cell)
                               : nil;
        bool showsValue =
            sliderCell && sliderCell->m_valueLabel && !sliderCell->m_valueLabel->isHidden();
        return {{"kind", "slider"},
                {"value", msg<float>(slider, "value"_sel)},
                {"min", msg<float>(slider, "minimumValue"_sel)},
                {"max", msg<float>(slider, "maximumValue"_sel)},
                {"showValue", showsValue}};
    }
    if (auto *field = static_cast<UITextField *>(controlOfCell(cell, UITextField::class_()))) {
        NSString *text = msg<NSString *>(field, "text"_sel);
        NSString *placeholder = msg<NSString *>(field, "placeholder"_sel);
        return {{"kind", "text"},
                {"text", text ? text->UTF8String() : ""},
                {"placeholder", placeholder ? placeholder->UTF8String() : ""}};
    }
    return nullptr;
}

json rowOf(UITableViewCell *cell)
{
    auto *label = msg<UILabel *>(cell, "textLabel"_sel);
    auto *imageView = msg<UIImageView *>(cell, "imageView"_sel);
    json control = controlOf(cell);
    // Switches and text fields take their own gestures; a tap elsewhere on those rows
    // does nothing on the phone.
    bool tappable = control.is_null() || control["kind"] == "slider";
    return {{"title", textOfLabel(label)},
            {"detail", textOfLabel(msg<UILabel *>(cell, "detailTextLabel"_sel))},
            {"icon", imageView ? imageOf(msg<UIImage *>(imageView, "image"_sel)) : json(nullptr)},
            {"font", fontOf(label)},
            {"accessory", accessoryOf(cell)},
            {"tappable", tappable},
            {"control", control}};
}

json sectionTitle(NSString *title)
{
    return title && title->length() ? textOf(title) : json(nullptr);
}

// Every row of the table, on screen or not, with the titles the data source gave.
json tablePage(UITableView *table)
{
    json sections = json::array();
    table->updateSectionsIfNeeded();
    // A copy: making a cell may have the table ask for its sections again.
    std::vector<UITableView::SectionLayout> layouts = table->m_sections;
    for (std::size_t section = 0; section < layouts.size(); ++section) {
        const UITableView::SectionLayout &layout = layouts[section];
        json rows = json::array();
        for (NSInteger row = 0; row < layout.rows; ++row)
            if (UITableViewCell *cell = cellForRow(table, NSInteger(section), row))
                rows.push_back(rowOf(cell));
        sections.push_back({{"header", sectionTitle(layout.headerTitle)},
                            {"footer", sectionTitle(layout.footerTitle)},
                            {"rows", rows}});
    }
    return {{"kind", "table"}, {"sections", sections}};
}

json drawnPage(UIViewController *page)
{
    auto *view = msg<UIView *>(page, "view"_sel);
    CGImageRef image = snapshotOfView(view);
    std::optional<std::string> url = pngDataUrl(image);
    CGImageRelease(image);
    CGRect bounds = view->bounds();
    return {{"kind", "view"},
            {"image", url ? json(*url) : json(nullptr)},
            {"width", bounds.size.width},
            {"height", bounds.size.height}};
}

json pageOf(UIViewController *page)
{
    if (!page)
        return {{"kind", "table"}, {"sections", json::array()}};
    if (UITableView *table = tableOfPage(page))
        return tablePage(table);
    return drawnPage(page);
}

json alertsOnScreen()
{
    json alerts = json::array();
    for (const VisibleAlert &shown : visibleAlerts()) {
        UITextField *field = shown.alert->m_textField;
        json fieldState = nullptr;
        if (field) {
            NSString *text = msg<NSString *>(field, "text"_sel);
            NSString *placeholder = msg<NSString *>(field, "placeholder"_sel);
            fieldState = {{"text", text ? text->UTF8String() : ""},
                          {"placeholder", placeholder ? placeholder->UTF8String() : ""}};
        }
        alerts.push_back({{"title", shown.title},
                          {"message", shown.message},
                          {"buttons", shown.buttons},
                          {"field", fieldState}});
    }
    return alerts;
}

json bannerOnScreen()
{
    UIWindow *banner = bannerWindow();
    auto *label = static_cast<UILabel *>(findView(banner, UILabel::class_()));
    if (!label)
        return nullptr;
    return {{"text", textOfLabel(label)}};
}

} // namespace

json panelState()
{
    UINavigationController *navigation = panelNavigationController();
    UIViewController *page = topPage(navigation);
    json navigationState = page ? navigationOf(navigation, page)
                                : json{{"title", nullptr},
                                       {"tint", nullptr},
                                       {"back", nullptr},
                                       {"left", nullptr},
                                       {"right", nullptr}};
    return {{"navigation", navigationState},
            {"page", pageOf(page)},
            {"alerts", alertsOnScreen()},
            {"banner", bannerOnScreen()}};
}

} // namespace sim
