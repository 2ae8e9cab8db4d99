#include "springboard/Spotlight.h"

#include "foundation/DeviceProfile.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardMetrics.h"
#include "uikit/UIApplication.h"
#include "uikit/UIFont.h"

#include <array>
#include <string>

namespace {

constexpr CGFloat kMargin = 16;
constexpr CGFloat kFieldHeight = 36;
constexpr CGFloat kHeaderHeight = 28;
constexpr CGFloat kRowHeight = 44;

struct SpotlightSection {
    const char *title;
    std::vector<std::string> rows;
};

// Siri suggests the first applications installed; the other sections hold stand-in
// results of their kind.
std::vector<SpotlightSection> spotlightSections()
{
    std::vector<std::string> suggestions;
    for (const auto &application : sim::DeviceProfile::current()->installedApplications) {
        if (suggestions.size() == 4)
            break;
        suggestions.push_back(application.displayName);
    }
    return {{"SIRI APP SUGGESTIONS", suggestions},
            {"NEARBY", {"Coffee", "Restaurants", "Gas Stations"}},
            {"NEWS", {"Top Stories", "Technology"}},
            {"SUGGESTED WEBSITES", {"Wikipedia", "Weather Forecast"}}};
}

CGFloat interfaceWidth()
{
    long orientation = UIApplication::sharedApplication()->statusBarOrientation();
    return sim::SpringBoardMetrics::interfaceSize(orientation).width;
}

// A rounded, translucent search field with its placeholder.
StrongRef<UIView> newSearchField(CGFloat width)
{
    StrongRef<UIView> field =
        sim::newView(UIView::class_(), {{kMargin, kMargin}, {width - 2 * kMargin, kFieldHeight}});
    msg<void, UIColor *>(field, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(1, 0.3));
    field->layer()->setCornerRadius(8);
    sim::addSubview(field, sim::newLabel({{0, 0}, {width - 2 * kMargin, kFieldHeight}}, "Search"_ns,
                                         UIFont::systemFontOfSize(15)));
    return field;
}

namespace imp {

BOOL canScrollY(SBSearchScrollView *, SEL)
{
    id controller = msg<id>(objc_getClass("SBIconController"), "sharedInstance"_sel);
    return !msg<BOOL>(controller, "isEditing"_sel);
}

// The pull-down stays closed while the scroll view may not move vertically.
void setContentOffset(SBSearchScrollView *self, SEL _cmd, CGPoint offset)
{
    if (!msg<BOOL>(self, "_canScrollY"_sel))
        offset.y = 0;
    msgSuper<void, CGPoint>(SBSearchScrollView::class_(), self, _cmd, offset);
}

void loadSearchView(SBSearchViewController *self, SEL)
{
    CGFloat width = interfaceWidth();
    StrongRef<UIView> view =
        sim::newView(UIView::class_(), {{0, 0}, {width, sim::kSearchPullDownHeight}});
    sim::addSubview(view, newSearchField(width));
    msg<void, UIView *>(self, "setView:"_sel, view);
}

NSInteger numberOfSections(SPUISearchViewController *, SEL, UIView *)
{
    return static_cast<NSInteger>(spotlightSections().size());
}

NSInteger numberOfRowsInSection(SPUISearchViewController *, SEL, UIView *, NSInteger section)
{
    auto sections = spotlightSections();
    if (section < 0 || section >= static_cast<NSInteger>(sections.size()))
        return 0;
    return static_cast<NSInteger>(sections[static_cast<std::size_t>(section)].rows.size());
}

UIView *viewForHeaderInSection(SPUISearchViewController *, SEL, UIView *table, NSInteger section)
{
    auto sections = spotlightSections();
    if (section < 0 || section >= static_cast<NSInteger>(sections.size()))
        return nil;
    CGFloat width = table ? table->bounds().size.width : interfaceWidth();
    StrongRef<UILabel> header = sim::newLabel(
        {{kMargin, 0}, {width - 2 * kMargin, kHeaderHeight}},
        NSString::stringWithUTF8String(sections[static_cast<std::size_t>(section)].title),
        UIFont::boldSystemFontOfSize(12));
    msg<void, NSTextAlignment>(header, "setTextAlignment:"_sel, NSTextAlignmentLeft);
    return autorelease(header.leak());
}

// The field, then the sections, as the table methods say.
void loadSpotlightView(SPUISearchViewController *self, SEL)
{
    CGFloat width = interfaceWidth();
    StrongRef<UIView> view =
        sim::newView(UIView::class_(), {{0, 0}, {width, sim::kSearchPullDownHeight}});
    msg<void, UIView *>(self, "setView:"_sel, view);
    msg<void>(self, "_reloadSections"_sel);
}

// Each section's header and rows, one below the other under the field, asked afresh
// from the table methods (as a table view reloads its data).
void reloadSections(SPUISearchViewController *self, SEL)
{
    UIView *view = msg<UIView *>(self, "view"_sel);
    CGFloat width = view->bounds().size.width;
    std::vector<StrongRef<UIView>> previous = view->m_subviews;
    for (UIView *subview : previous)
        msg<void>(subview, "removeFromSuperview"_sel);
    sim::addSubview(view, newSearchField(width));
    CGFloat y = 2 * kMargin + kFieldHeight;
    auto sections = spotlightSections();
    NSInteger count = msg<NSInteger, UIView *>(self, "numberOfSectionsInTableView:"_sel, view);
    for (NSInteger section = 0; section < count; ++section) {
        auto *header = msg<UIView *, UIView *, NSInteger>(
            self, "tableView:viewForHeaderInSection:"_sel, view, section);
        if (header) {
            CGRect frame = header->frame();
            sim::setFrame(header, {{frame.origin.x, y}, frame.size});
            sim::addSubview(view, header);
            y += frame.size.height;
        }
        NSInteger rows = msg<NSInteger, UIView *, NSInteger>(
            self, "tableView:numberOfRowsInSection:"_sel, view, section);
        const auto &texts = sections[static_cast<std::size_t>(section)].rows;
        for (NSInteger row = 0; row < rows && static_cast<std::size_t>(row) < texts.size(); ++row) {
            StrongRef<UILabel> label =
                sim::newLabel({{kMargin, y}, {width - 2 * kMargin, kRowHeight}},
                              NSString::stringWithString(texts[static_cast<std::size_t>(row)]),
                              UIFont::systemFontOfSize(16));
            msg<void, NSTextAlignment>(label, "setTextAlignment:"_sel, NSTextAlignmentLeft);
            sim::addSubview(view, label);
            y += kRowHeight;
        }
    }
}

} // namespace imp

} // namespace

Class SBSearchScrollView::class_()
{
    return objc_getClass("SBSearchScrollView");
}

Class SBSearchViewController::class_()
{
    return objc_getClass("SBSearchViewController");
}

Class SPUISearchViewController::class_()
{
    return objc_getClass("SPUISearchViewController");
}

namespace sim {

UIViewController *createSearchViewController()
{
    Class cls = currentGeneration() == iOS9 ? SPUISearchViewController::class_()
                                            : SBSearchViewController::class_();
    return sim::create<UIViewController>(cls);
}

void registerSpotlightClasses()
{
    HostClass<SBSearchScrollView>("SBSearchScrollView", "UIScrollView")
        .method("_canScrollY", imp::canScrollY)
        .method("setContentOffset:", imp::setContentOffset)
        .registerClass();
    HostClass<SBSearchViewController>("SBSearchViewController", "UIViewController")
        .onGenerations(iOS7 | iOS8)
        .method("loadView", imp::loadSearchView)
        .registerClass();
    HostClass<SPUISearchViewController>("SPUISearchViewController", "UIViewController")
        .onGenerations(iOS9)
        .method("loadView", imp::loadSpotlightView)
        .method("numberOfSectionsInTableView:", imp::numberOfSections)
        .method("tableView:numberOfRowsInSection:", imp::numberOfRowsInSection)
        .method("tableView:viewForHeaderInSection:", imp::viewForHeaderInSection)
        .method("_reloadSections", imp::reloadSections)
        .registerClass();
}

} // namespace sim
