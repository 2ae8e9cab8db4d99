#include "springboard/status-bar/StatusBarViews.h"

#include "foundation/NSArray.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/status-bar/SBStatusBarStateAggregator.h"
#include "uikit/UIFont.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr CGFloat kEdgeMargin = 6;
constexpr CGFloat kItemGap = 4;
constexpr int kSignalDots = 5;
constexpr CGFloat kDotSide = 5.5;
constexpr int kWiFiBars = 3;
constexpr CGFloat kBatteryWidth = 24;
constexpr CGFloat kBatteryHeight = 10;

// Indicator items draw as one glyph each; the items of SBStatusBarItem draw otherwise.
const char *glyphOf(int item)
{
    static constexpr const char *kGlyphs[kSBStatusBarItemCount] = {
        nullptr, "☾", "✈", nullptr, nullptr, nullptr, "•", nullptr, nullptr, "•", "▮", "ᛒ", "TTY",
        "◷",     "✓", "•", "➤",     "⟲",     "•",     "▭", "●",     "VPN",   "↪", "✺", "■"};
    return kGlyphs[item];
}

bool isDrawnItem(int item)
{
    return item == SBStatusBarItemSignalStrength || item == SBStatusBarItemDataNetwork ||
           item == SBStatusBarItemBattery;
}

// The items at the left, in order from the edge; the time is in the middle and every
// other item at the right, the battery nearest the edge.
constexpr int kLeftItems[] = {SBStatusBarItemSignalStrength, SBStatusBarItemService,
                              SBStatusBarItemDataNetwork, 2};

bool isLeftItem(int item)
{
    for (int left : kLeftItems)
        if (left == item)
            return true;
    return false;
}

StrongRef<UIView> newShape(CGRect frame, CGFloat alpha)
{
    StrongRef<UIView> shape = sim::newView(UIView::class_(), frame);
    msg<void, UIColor *>(shape, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(1, alpha));
    return shape;
}

StrongRef<NSArray> addShapes(UIStatusBarItemView *view, const std::vector<CGRect> &frames)
{
    auto parts = NSMutableArray::array();
    for (const CGRect &frame : frames) {
        StrongRef<UIView> shape = newShape(frame, 1);
        sim::addSubview(view, shape);
        parts->addObject(shape);
    }
    return parts;
}

std::vector<CGRect> signalFrames()
{
    std::vector<CGRect> frames;
    for (int dot = 0; dot < kSignalDots; ++dot)
        frames.push_back(
            {{dot * (kDotSide + 1), (sim::kStatusBarHeight - kDotSide) / 2}, {kDotSide, kDotSide}});
    return frames;
}

std::vector<CGRect> wifiFrames()
{
    std::vector<CGRect> frames;
    for (int bar = 0; bar < kWiFiBars; ++bar) {
        CGFloat height = 4 + 3 * bar;
        frames.push_back({{bar * 5.0, 15 - height}, {3.5, height}});
    }
    return frames;
}

std::vector<CGRect> batteryFrames()
{
    CGFloat top = (sim::kStatusBarHeight - kBatteryHeight) / 2;
    return {{{0, top}, {kBatteryWidth - 2, kBatteryHeight}},             // the body
            {{1.5, top + 1.5}, {kBatteryWidth - 5, kBatteryHeight - 3}}, // the charge
            {{kBatteryWidth - 2, top + 3}, {2, kBatteryHeight - 6}}};    // the nub
}

CGFloat widthOf(UIStatusBarItemView *view)
{
    switch (view->m_item) {
    case SBStatusBarItemSignalStrength:
        return kSignalDots * (kDotSide + 1);
    case SBStatusBarItemDataNetwork:
        return kWiFiBars * 5.0;
    case SBStatusBarItemBattery:
        return kBatteryWidth;
    default:
        // Text drawn at the screen's scale runs wider than measured in points; the slack
        // keeps it whole.
        return std::ceil(
            msg<CGSize, CGSize>(view->m_label, "sizeThatFits:"_sel, CGSizeZero).width * 1.2 + 2);
    }
}

void setLevel(UIStatusBarItemView *view, int level)
{
    NSArray *parts = view->m_parts;
    for (NSUInteger index = 0; index < parts->count(); ++index)
        sim::setAlpha(static_cast<UIView *>(parts->objectAtIndex(index)),
                      index < NSUInteger(level) ? 1 : 0.3);
}

void setBatteryCharge(UIStatusBarItemView *view, int capacity)
{
    NSArray *parts = view->m_parts;
    sim::setAlpha(static_cast<UIView *>(parts->objectAtIndex(0)), 0.35);
    auto *charge = static_cast<UIView *>(parts->objectAtIndex(1));
    CGRect frame = charge->frame();
    frame.size.width = (kBatteryWidth - 5) * std::clamp(capacity, 0, 100) / 100.0;
    sim::setFrame(charge, frame);
}

void setText(UIStatusBarItemView *view, const char *text)
{
    msg<void, NSString *>(view->m_label, "setText:"_sel, NSString::stringWithUTF8String(text));
}

void showItem(UIStatusBarItemView *view, const SBStatusBarRawData &data)
{
    int item = view->m_item;
    sim::setHidden(view, !data.itemIsEnabled[item]);
    char percent[8];
    switch (item) {
    case SBStatusBarItemTime:
        return setText(view, data.timeString);
    case SBStatusBarItemService:
        return setText(view, data.serviceString);
    case SBStatusBarItemBatteryPercent:
        std::snprintf(percent, sizeof(percent), "%d%%", data.batteryCapacity);
        return setText(view, percent);
    case SBStatusBarItemSignalStrength:
        return setLevel(view, data.gsmSignalStrengthBars);
    case SBStatusBarItemDataNetwork:
        return setLevel(view, data.wifiSignalStrengthBars);
    case SBStatusBarItemBattery:
        return setBatteryCharge(view, data.batteryCapacity);
    default:
        return;
    }
}

StrongRef<UIStatusBarItemView> newItemView(int item)
{
    auto view = sim::newView<UIStatusBarItemView>(UIStatusBarItemView::class_(), CGRectZero);
    view->m_item = item;
    if (item == SBStatusBarItemSignalStrength)
        view->m_parts = addShapes(view, signalFrames());
    else if (item == SBStatusBarItemDataNetwork)
        view->m_parts = addShapes(view, wifiFrames());
    else if (item == SBStatusBarItemBattery)
        view->m_parts = addShapes(view, batteryFrames());
    else {
        UIFont *font = item == SBStatusBarItemTime ? UIFont::boldSystemFontOfSize(12)
                                                   : UIFont::systemFontOfSize(12);
        view->m_label = sim::newLabel(
            CGRectZero, NSString::stringWithUTF8String(glyphOf(item) ? glyphOf(item) : ""), font);
        sim::addSubview(view, view->m_label);
    }
    sim::setHidden(view, true);
    return view;
}

void place(UIStatusBarItemView *view, CGFloat x, CGFloat width)
{
    sim::setFrame(view, {{x, 0}, {width, sim::kStatusBarHeight}});
    if (!view->m_label)
        return;
    sim::setFrame(view->m_label, {{0, 0}, {width, sim::kStatusBarHeight}});
}

namespace imp {

void foregroundLayoutSubviews(UIStatusBarForegroundView *self, SEL)
{
    auto *aggregator = msg<SBStatusBarStateAggregator *>(SBStatusBarStateAggregator::class_(),
                                                         "sharedInstance"_sel);
    if (aggregator)
        for (auto &view : self->m_itemViews)
            showItem(view, aggregator->m_data);
    CGFloat width = self->bounds().size.width;
    CGFloat left = kEdgeMargin;
    for (int item : kLeftItems) {
        UIStatusBarItemView *view = self->m_itemViews[item];
        if (view->isHidden())
            continue;
        place(view, left, widthOf(view));
        left += widthOf(view) + kItemGap;
    }
    CGFloat right = width - kEdgeMargin;
    // The battery and its percentage nearest the edge, then the indicators.
    std::vector<int> rightItems = {SBStatusBarItemBattery, SBStatusBarItemBatteryPercent};
    for (int item = kSBStatusBarItemCount - 1; item > 0; --item)
        if (!isLeftItem(item) && !isDrawnItem(item) && item != SBStatusBarItemBatteryPercent)
            rightItems.push_back(item);
    for (int item : rightItems) {
        UIStatusBarItemView *view = self->m_itemViews[item];
        if (view->isHidden())
            continue;
        right -= widthOf(view);
        place(view, right, widthOf(view));
        right -= kItemGap;
    }
    UIStatusBarItemView *time = self->m_itemViews[SBStatusBarItemTime];
    CGFloat timeWidth = widthOf(time);
    place(time, (width - timeWidth) / 2, timeWidth);
}

} // namespace imp

void dumpItemView(UIView *view, nlohmann::json &node)
{
    auto *item = static_cast<UIStatusBarItemView *>(view);
    node["item"] = sim::statusBarItemName(item->m_item);
    if (item->m_label && item->m_label->m_text)
        node["text"] = item->m_label->m_text->UTF8String();
}

} // namespace

Class UIStatusBarItemView::class_()
{
    return objc_getClass("UIStatusBarItemView");
}

Class UIStatusBarForegroundView::class_()
{
    return objc_getClass("UIStatusBarForegroundView");
}

namespace sim {

UIWindow *createStatusBarWindow(SBStatusBarStateAggregator *aggregator, CGFloat width)
{
    auto window = newView<UIWindow>(UIWindow::class_(), {{0, 0}, {width, kStatusBarHeight}});
    msg<void, UIWindowLevel>(window, "setWindowLevel:"_sel, UIWindowLevelStatusBar);
    auto bar = newView<UIStatusBarForegroundView>(UIStatusBarForegroundView::class_(), CGRectZero);
    for (int item = 0; item < kSBStatusBarItemCount; ++item) {
        bar->m_itemViews[item] = newItemView(item);
        addSubview(bar, bar->m_itemViews[item]);
    }
    addSubview(window, bar);
    aggregator->m_statusBarView = bar.get();
    layOutStatusBar(window);
    msg<void>(aggregator, "_resetTimeItemFormatter"_sel);
    msg<void>(aggregator, "beginCoalescentBlock"_sel);
    for (int item = 0; item < kSBStatusBarItemCount; ++item)
        msg<void, int>(aggregator, "updateStatusBarItem:"_sel, item);
    msg<void>(aggregator, "endCoalescentBlock"_sel);
    msg<void>(aggregator, "_restartTimeItemTimer"_sel);
    return window.leak();
}

void layOutStatusBar(UIWindow *window)
{
    if (window->m_subviews.empty())
        return;
    setFrame(window->m_subviews.front(), window->bounds());
}

void registerStatusBarViewClasses()
{
    HostClass<UIStatusBarItemView>("UIStatusBarItemView", "UIView")
        .ivar("_item", &UIStatusBarItemView::m_item)
        .registerClass();
    HostClass<UIStatusBarForegroundView>("UIStatusBarForegroundView", "UIView")
        .method("layoutSubviews", imp::foregroundLayoutSubviews)
        .registerClass();
    addViewDumpAttributes("UIStatusBarItemView", dumpItemView);
}

} // namespace sim
