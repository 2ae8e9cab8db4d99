#include "uikit/UINavigationBar.h"

#include "foundation/NSArray.h"
#include "uikit/ControlParts.h"
#include "uikit/UIControl.h"
#include "uikit/UINavigationController.h"

#include <algorithm>

namespace {

constexpr CGFloat kButtonInset = 8;
constexpr CGFloat kTextSize = 17;

// A button of the bar: its item's title, or the back button's. Lifting a finger on it
// presses the item, or pops.
struct UINavigationButton : UIControl {
    StrongRef<UIBarButtonItem> m_item; // nil for the back button
    UINavigationBar *m_bar = nil;      // the bar holds its buttons
    StrongRef<UILabel> m_label;

    static Class class_();
};

void pressButton(UINavigationButton *button)
{
    if (button->m_item) {
        button->m_item->press();
        return;
    }
    UINavigationBar *bar = button->m_bar;
    if (bar->m_navigationController)
        msg<id, BOOL>(bar->m_navigationController, "popViewControllerAnimated:"_sel, YES);
    else
        msg<id, BOOL>(bar, "popNavigationItemAnimated:"_sel, YES);
}

void buttonEndTracking(UINavigationButton *self, SEL, UITouch *, UIEvent *)
{
    if (self->m_touchInside)
        pressButton(self);
}

Class UINavigationButton::class_()
{
    static const Class cls = [] {
        UIControl::class_();
        return ClassBuilder<UINavigationButton>("UINavigationButton", "UIControl")
            .method("endTrackingWithTouch:withEvent:", buttonEndTracking)
            .registerClass();
    }();
    return cls;
}

UIColor *tintOf(UINavigationBar *bar)
{
    return bar->m_tintColor ? bar->m_tintColor.get() : sim::defaultTintColor();
}

UINavigationButton *addButton(UINavigationBar *bar, UIBarButtonItem *item, NSString *title)
{
    auto *button = static_cast<UINavigationButton *>(msg<id, CGRect>(
        msg<id>(UINavigationButton::class_(), "alloc"_sel), "initWithFrame:"_sel, CGRectZero));
    StrongRef<UINavigationButton> owned = StrongRef<UINavigationButton>::adopt(button);
    button->m_item = item;
    button->m_bar = bar;
    button->m_label = sim::makeLabel(kTextSize, tintOf(bar));
    msg<void, NSString *>(button->m_label, "setText:"_sel, title);
    msg<void>(button->m_label, "sizeToFit"_sel);
    CGSize size = button->m_label->bounds().size;
    msg<void, CGRect>(button, "setFrame:"_sel, CGRect{0, 0, size.width, UINavigationBar::kHeight});
    msg<void, CGRect>(button->m_label, "setFrame:"_sel, button->bounds());
    msg<void, UIView *>(button, "addSubview:"_sel, button->m_label);
    msg<void, UIView *>(bar, "addSubview:"_sel, button);
    bar->m_buttonViews.emplace_back(button);
    return button;
}

// The back button's title: the item below's back item title, else its title, else "Back".
NSString *backTitle(UINavigationItem *below)
{
    if (below->m_backBarButtonItem && below->m_backBarButtonItem->m_title)
        return below->m_backBarButtonItem->m_title;
    if (below->m_title && below->m_title->length())
        return below->m_title;
    return "Back"_ns;
}

void rebuildButtons(UINavigationBar *bar)
{
    for (auto &view : bar->m_buttonViews)
        msg<void>(view, "removeFromSuperview"_sel);
    bar->m_buttonViews.clear();
    UINavigationItem *top = bar->topItem();
    msg<void, NSString *>(bar->m_titleLabel, "setText:"_sel, top ? top->m_title.get() : nil);
    if (!top)
        return;
    UINavigationItem *below = bar->backItem();
    if (top->m_leftBarButtonItem)
        addButton(bar, top->m_leftBarButtonItem, top->m_leftBarButtonItem->m_title);
    else if (below && !top->m_hidesBackButton)
        addButton(bar, nil,
                  NSString::stringWithFormat("\u2039 %s", backTitle(below)->UTF8String()));
    else
        bar->m_buttonViews.emplace_back(nil);
    if (top->m_rightBarButtonItem)
        addButton(bar, top->m_rightBarButtonItem, top->m_rightBarButtonItem->m_title);
}

void attach(UINavigationBar *bar, UINavigationItem *item)
{
    item->m_navigationBar = bar;
}

void detach(UINavigationItem *item)
{
    item->m_navigationBar = nil;
}

namespace imp {

id initWithFrame(UINavigationBar *self, SEL _cmd, CGRect frame)
{
    msgSuper<id, CGRect>(UINavigationBar::class_(), self, _cmd, frame);
    self->m_titleLabel = sim::makeLabel(kTextSize, UIColor::blackColor());
    msg<void, UIFont *>(self->m_titleLabel, "setFont:"_sel,
                        UIFont::boldSystemFontOfSize(kTextSize));
    msg<void, NSTextAlignment>(self->m_titleLabel, "setTextAlignment:"_sel, NSTextAlignmentCenter);
    msg<void, UIView *>(self, "addSubview:"_sel, self->m_titleLabel);
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0.97, 1));
    return self;
}

NSArray *items(UINavigationBar *self, SEL)
{
    NSMutableArray *items = NSMutableArray::array();
    for (const auto &item : self->m_items)
        items->addObject(item);
    return items;
}

UINavigationItem *topItem(UINavigationBar *self, SEL)
{
    return self->topItem();
}

UINavigationItem *backItem(UINavigationBar *self, SEL)
{
    return self->backItem();
}

void pushNavigationItemAnimated(UINavigationBar *self, SEL, UINavigationItem *item, BOOL)
{
    if (!item)
        return;
    attach(self, item);
    self->m_items.emplace_back(item);
    self->itemsChanged();
}

UINavigationItem *popNavigationItemAnimated(UINavigationBar *self, SEL, BOOL)
{
    if (self->m_items.empty())
        return nil;
    StrongRef<UINavigationItem> popped = self->m_items.back();
    self->m_items.pop_back();
    detach(popped);
    self->itemsChanged();
    return autorelease(retain(popped.get()));
}

void setItemsAnimated(UINavigationBar *self, SEL, NSArray *items, BOOL)
{
    for (auto &item : self->m_items)
        detach(item);
    self->m_items.clear();
    if (items)
        for (id item : *items) {
            attach(self, static_cast<UINavigationItem *>(item));
            self->m_items.emplace_back(static_cast<UINavigationItem *>(item));
        }
    self->itemsChanged();
}

UIColor *tintColor(UINavigationBar *self, SEL)
{
    return tintOf(self);
}

void setTintColor(UINavigationBar *self, SEL, UIColor *color)
{
    self->m_tintColor = color;
    self->itemsChanged();
}

void setBarTintColor(UINavigationBar *self, SEL, UIColor *color)
{
    self->m_barTintColor = color;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                         color ? color : UIColor::colorWithWhiteAlpha(0.97, 1));
}

// The leading button at the inset, the trailing one at the trailing inset, the title
// centred in the width that leaves free on both sides.
void layoutSubviews(UINavigationBar *self, SEL)
{
    CGFloat width = self->bounds().size.width;
    CGFloat height = self->bounds().size.height;
    CGFloat leading = 0, trailing = 0;
    for (std::size_t i = 0; i < self->m_buttonViews.size(); ++i) {
        UIView *button = self->m_buttonViews[i];
        if (!button)
            continue;
        CGFloat buttonWidth = button->bounds().size.width;
        CGFloat x = i == 0 ? kButtonInset : width - kButtonInset - buttonWidth;
        msg<void, CGRect>(button, "setFrame:"_sel, CGRect{x, 0, buttonWidth, height});
        (i == 0 ? leading : trailing) = buttonWidth + kButtonInset;
    }
    CGFloat side = std::max(leading, trailing) + kButtonInset;
    msg<void, CGRect>(self->m_titleLabel, "setFrame:"_sel,
                      CGRect{side, 0, std::max<CGFloat>(0, width - 2 * side), height});
}

} // namespace imp

const Class kRegistered = UINavigationBar::class_();

} // namespace

Class UINavigationBar::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UINavigationBar>("UINavigationBar", "UIView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("items", imp::items)
            .method("topItem", imp::topItem)
            .method("backItem", imp::backItem)
            .method("pushNavigationItem:animated:", imp::pushNavigationItemAnimated)
            .method("popNavigationItemAnimated:", imp::popNavigationItemAnimated)
            .method("setItems:animated:", imp::setItemsAnimated)
            .method("tintColor", imp::tintColor)
            .method("setTintColor:", imp::setTintColor)
            .getter<&UINavigationBar::m_barTintColor>("barTintColor")
            .method("setBarTintColor:", imp::setBarTintColor)
            .method("layoutSubviews", imp::layoutSubviews)
            .registerClass();
    }();
    return cls;
}

UINavigationItem *UINavigationBar::topItem() const
{
    return m_items.empty() ? nil : m_items.back().get();
}

UINavigationItem *UINavigationBar::backItem() const
{
    return m_items.size() < 2 ? nil : m_items[m_items.size() - 2].get();
}

void UINavigationBar::itemsChanged()
{
    rebuildButtons(this);
    msg<void>(this, "setNeedsLayout"_sel);
}
