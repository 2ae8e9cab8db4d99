#include "PanelState.h"

#include "DataUrl.h"
#include "PanelScreen.h"

#include "preferences/PSSliderTableCell.h"
#include "preferences/PSViewController.h"
#include "quartzcore/CGColor.h"
#include "quartzcore/CGContext.h"
#include "uikit/Snapshot.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIScreen.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"

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
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    msg<BOOL, CGFloat *, CGFloat *, CGFloat *, CGFloat *>(color, "getRed:green:blue:alpha:"_sel,
                                                          &red, &green, &blue, &alpha);
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", byte(red), byte(green), byte(blue));
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
    return msg<NSString *>(specifier, "name"_sel);
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
    auto *back = msg<UIBarButtonItem *>(item, "backBarButtonItem"_sel);
    if (NSString *title = msg<NSString *>(back, "title"_sel))
        return textOf(title);
    if (NSString *title = titleOf(static_cast<UIViewController *>(below)))
        return textOf(title);
    return "Back";
}

json buttonTitle(UIBarButtonItem *button)
{
    if (!button)
        return nullptr;
    NSString *title = msg<NSString *>(button, "title"_sel);
    return title ? textOf(title) : json("");
}

json navigationOf(UINavigationController *navigation, UIViewController *page)
{
    auto *item = msg<UINavigationItem *>(page, "navigationItem"_sel);
    auto *bar = msg<UINavigationBar *>(navigation, "navigationBar"_sel);
    return {
        {"title", textOf(titleOf(page))},
        {"tint", hexColor(msg<UIColor *>(bar, "tintColor"_sel))},
        {"back", msg<BOOL>(item, "hidesBackButton"_sel) ? json(nullptr) : backTitle(navigation)},
        {"left", buttonTitle(msg<UIBarButtonItem *>(item, "leftBarButtonItem"_sel))},
        {"right", buttonTitle(msg<UIBarButtonItem *>(item, "rightBarButtonItem"_sel))}};
}

// The face of a label's font, when it is not the system's.
json fontOf(UILabel *label)
{
    auto *font = label ? msg<UIFont *>(label, "font"_sel) : nil;
    if (!font)
        return nullptr;
    NSString *name = msg<NSString *>(font, "fontName"_sel);
    for (UIFont *system : {UIFont::systemFontOfSize(12), UIFont::boldSystemFontOfSize(12),
                           UIFont::ultraLightSystemFontOfSize(12)})
        if (name->isEqualToString(system->fontName()))
            return nullptr;
    auto *descriptor = msg<UIFontDescriptor *>(font, "fontDescriptor"_sel);
    auto *traits = msg<NSDictionary *, NSString *>(descriptor, "objectForKey:"_sel,
                                                   UIFontDescriptorTraitsAttribute);
    double weight = msg<double>(traits->objectForKey(UIFontWeightTrait), "doubleValue"_sel);
    auto symbolic = msg<UIFontDescriptorSymbolicTraits>(descriptor, "symbolicTraits"_sel);
    return {{"name", name->str()},
            {"family", msg<NSString *>(font, "familyName"_sel)->str()},
            {"weight", std::lround(openTypeWeightOf(weight))},
            {"italic", (symbolic & UIFontDescriptorTraitItalic) != 0}};
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
        // A settings slider shows its value when its row asks for it, as the cell does.
        bool showsValue = false;
        if (msg<BOOL>(cell, "isKindOfClass:"_sel, PSSliderTableCell::class_()))
            if (auto *row = msg<PSSpecifier *>(cell, "specifier"_sel))
                showsValue = msg<BOOL>(row->propertyForKey("showValue"_ns), "boolValue"_sel);
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

// A section's header or footer title as the table's data source gives it, if it does.
json sectionTitle(UITableView *table, SEL selector, NSInteger section)
{
    id dataSource = msg<id>(table, "dataSource"_sel);
    if (!msg<BOOL, SEL>(dataSource, "respondsToSelector:"_sel, selector))
        return nullptr;
    NSString *title =
        msg<NSString *, UITableView *, NSInteger>(dataSource, selector, table, section);
    return title && title->length() ? textOf(title) : json(nullptr);
}

// Every row of the table, on screen or not, with the titles the data source gives.
json tablePage(UITableView *table)
{
    // Counts first: making a cell may have the table ask its data source again.
    std::vector<NSInteger> rowCounts;
    for (NSInteger section = 0, count = msg<NSInteger>(table, "numberOfSections"_sel);
         section < count; ++section)
        rowCounts.push_back(msg<NSInteger>(table, "numberOfRowsInSection:"_sel, section));
    json sections = json::array();
    for (NSInteger section = 0; section < NSInteger(rowCounts.size()); ++section) {
        json rows = json::array();
        for (NSInteger row = 0; row < rowCounts[std::size_t(section)]; ++row)
            if (UITableViewCell *cell = cellForRow(table, section, row))
                rows.push_back(rowOf(cell));
        sections.push_back(
            {{"header", sectionTitle(table, "tableView:titleForHeaderInSection:"_sel, section)},
             {"footer", sectionTitle(table, "tableView:titleForFooterInSection:"_sel, section)},
             {"rows", rows}});
    }
    return {{"kind", "table"}, {"sections", sections}};
}

// The image at `imageScale` pixels a point when that is fewer than it has, else the image
// itself; the caller owns the answer. Every 2 × 2 block of a screen twice as fine becomes
// one pixel, their average.
CGImageRef atImageScale(CGImageRef image, CGSize points, int imageScale)
{
    if (imageScale <= 0 || imageScale >= UIScreen::mainScreen()->scale())
        return CGImageRetain(image);
    auto width = std::size_t(std::lround(points.width * imageScale));
    auto height = std::size_t(std::lround(points.height * imageScale));
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context =
        CGBitmapContextCreate(nullptr, width, height, 8, 0, space,
                              kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGColorSpaceRelease(space);
    if (!context)
        return CGImageRetain(image);
    CGContextDrawImage(context, CGRectMake(0, 0, CGFloat(width), CGFloat(height)), image);
    CGImageRef smaller = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
    return smaller;
}

json drawnPage(UIViewController *page, int imageScale)
{
    auto *view = msg<UIView *>(page, "view"_sel);
    CGRect bounds = view->bounds();
    CGImageRef snapshot = snapshotOfView(view);
    CGImageRef image = atImageScale(snapshot, bounds.size, imageScale);
    CGImageRelease(snapshot);
    std::optional<std::string> url = pngDataUrl(image);
    CGImageRelease(image);
    return {{"kind", "view"},
            {"image", url ? json(*url) : json(nullptr)},
            {"width", bounds.size.width},
            {"height", bounds.size.height}};
}

json pageOf(UIViewController *page, int imageScale)
{
    if (!page)
        return {{"kind", "table"}, {"sections", json::array()}};
    if (UITableView *table = tableOfPage(page))
        return tablePage(table);
    return drawnPage(page, imageScale);
}

json alertsOnScreen()
{
    json alerts = json::array();
    for (const VisibleAlert &shown : visibleAlerts()) {
        UITextField *field = alertTextField(shown.alert);
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

json panelState(int imageScale)
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
            {"page", pageOf(page, imageScale)},
            {"alerts", alertsOnScreen()},
            {"banner", bannerOnScreen()}};
}

} // namespace sim
