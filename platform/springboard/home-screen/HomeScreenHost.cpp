#include "springboard/home-screen/HomeScreenHost.h"

#include "springboard/SBIconController.h"
#include "springboard/Spotlight.h"
#include "uikit/UILabel.h"

#include "springboard/SpringBoardState.h"
#include "springboard/home-screen/IconDragging.h"
#include "uikit/GestureInput.h"
#include <nlohmann/json.hpp>

#include <charconv>

namespace sim {
namespace {

// Finger steps between the grab and the drop, so the icon is seen travelling.
constexpr int kDragSteps = 8;

SBIconController *controller()
{
    return msg<SBIconController *>(SBIconController::class_(), "sharedInstance"_sel);
}

// An application icon by identifier, or a folder icon by name.
bool names(SBIcon *icon, const std::string &name)
{
    SEL selector =
        msg<BOOL>(icon, "isFolderIcon"_sel) ? "displayName"_sel : "applicationBundleID"_sel;
    auto *text = msg<NSString *>(icon, selector);
    return text && text->str() == name;
}

struct Found {
    SBIconListView *list = nullptr;
    SBIconView *view = nullptr;
};

Found findIconView(const std::string &name)
{
    for (SBIconListView *list : controller()->allIconLists())
        for (id icon : *list->m_icons)
            if (names(static_cast<SBIcon *>(icon), name))
                return {list, msg<SBIconView *>(list->m_viewMap.get(), "mappedIconViewForIcon:"_sel,
                                                icon)};
    return {};
}

// Every application icon with the identifier: on the pages, in the dock, and in folders.
std::vector<SBIcon *> applicationIcons(const std::string &bundleIdentifier)
{
    std::vector<SBIcon *> found;
    auto visit = [&](NSArray *icons, auto &&self) -> void {
        for (id icon : *icons) {
            if (msg<BOOL>(icon, "isFolderIcon"_sel))
                self(static_cast<SBFolderIcon *>(icon)->m_folder->m_icons, self);
            else if (names(static_cast<SBIcon *>(icon), bundleIdentifier))
                found.push_back(static_cast<SBIcon *>(icon));
        }
    };
    for (SBIconListView *list : controller()->allIconLists())
        visit(list->m_icons, visit);
    return found;
}

std::optional<NSUInteger> placeIndex(const std::string &text)
{
    NSUInteger index = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return index;
}

} // namespace

std::string HomeScreenHost::dragIcon(const std::string &from, const std::string &to)
{
    if (!controller())
        return "SpringBoard is not running";
    if (!msg<BOOL>(controller(), "isEditing"_sel))
        return "icons can be dragged only in editing mode (edit on)";
    Found grabbed = findIconView(from);
    if (!grabbed.view || grabbed.view->isHidden())
        return "no icon " + from + " on the home screen";
    UIWindow *window = springBoardState().homeScreenWindow;
    CGRect frame = grabbed.view->frame();
    CGPoint start = grabbed.list->convertPointToView(
        {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2}, window);
    CGPoint end;
    if (std::optional<NSUInteger> index = placeIndex(to)) {
        NSUInteger places = msg<NSArray *>(grabbed.list, "visibleIcons"_sel)->count();
        if (*index >= places)
            return "the icon's list has places 0 to " + std::to_string(places - 1);
        end = grabbed.list->convertPointToView(centerOfPlace(grabbed.list, *index), window);
    } else {
        Found target = findIconView(to);
        if (!target.view || target.view->isHidden())
            return "no icon " + to + " on the home screen";
        CGRect targetFrame = target.view->frame();
        end = target.list->convertPointToView({targetFrame.origin.x + targetFrame.size.width / 2,
                                               targetFrame.origin.y + targetFrame.size.height / 2},
                                              window);
    }
    if (!touchDown(window, start))
        return "nothing on the screen under the icon";
    for (int step = 1; step <= kDragSteps; ++step) {
        CGFloat share = CGFloat(step) / kDragSteps;
        touchMove({start.x + (end.x - start.x) * share, start.y + (end.y - start.y) * share});
    }
    touchUp(end);
    return {};
}

std::string HomeScreenHost::setBadge(const std::string &bundleIdentifier, const std::string &text)
{
    if (!controller())
        return "SpringBoard is not running";
    std::vector<SBIcon *> icons = applicationIcons(bundleIdentifier);
    if (icons.empty())
        return "no application " + bundleIdentifier + " on the home screen";
    for (SBIcon *icon : icons)
        msg<void, NSString *>(icon, "setBadge:"_sel,
                              text.empty() ? nil : NSString::stringWithString(text));
    msg<void>(controller(), "relayout"_sel);
    return {};
}

std::string HomeScreenHost::pinchOpenFolder()
{
    if (!controller())
        return "SpringBoard is not running";
    SBFolderController *open = controller()->m_openFolderController;
    if (!open)
        return "no folder is open (open-folder INDEX)";
    pinch(open->m_contentView, {1.0, 0.85, 0.7, 0.55, 0.4});
    return {};
}

bool HomeScreenHost::setSpotlightOpen(bool open)
{
    if (!controller())
        return false;
    SBRootFolderView *root = controller()->rootFolderView();
    UIViewController *search = root->m_pullDownSearchController;
    if (open && class_respondsToSelector(object_getClass(search), "_reloadSections"_sel))
        msg<void>(search, "_reloadSections"_sel);
    msg<void, CGPoint>(root->m_searchScrollView, "setContentOffset:"_sel,
                       {0, open ? -kSearchPullDownHeight : 0});
    return (root->m_searchScrollView->bounds().origin.y < 0) == open;
}

nlohmann::json HomeScreenHost::spotlightDump()
{
    if (!controller())
        return nullptr;
    SBRootFolderView *root = controller()->rootFolderView();
    nlohmann::json node = {{"open", root->m_searchScrollView->bounds().origin.y < 0}};
    UIViewController *search = root->m_pullDownSearchController;
    if (object_getClass(search) != objc_getClass("SPUISearchViewController"))
        return node;
    UIView *table = msg<UIView *>(search, "view"_sel);
    nlohmann::json sections = nlohmann::json::array();
    NSInteger count = msg<NSInteger, UIView *>(search, "numberOfSectionsInTableView:"_sel, table);
    for (NSInteger section = 0; section < count; ++section) {
        auto *header = msg<UIView *, UIView *, NSInteger>(
            search, "tableView:viewForHeaderInSection:"_sel, table, section);
        bool titled = header && object_getClass(header) == UILabel::class_() &&
                      static_cast<UILabel *>(header)->m_text;
        sections.push_back(
            {{"header", titled ? nlohmann::json(static_cast<UILabel *>(header)->m_text->str())
                               : nlohmann::json(nullptr)},
             {"rows", msg<NSInteger, UIView *, NSInteger>(
                          search, "tableView:numberOfRowsInSection:"_sel, table, section)}});
    }
    node["sections"] = sections;
    return node;
}

} // namespace sim
