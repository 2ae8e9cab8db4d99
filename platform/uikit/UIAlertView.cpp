#include "uikit/UIAlertView.h"

#include "foundation/NSLog.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"

#include <algorithm>

namespace {

constexpr CGFloat kAlertWidth = 270;
constexpr CGFloat kMargin = 16;
constexpr CGFloat kButtonHeight = 44;

std::vector<StrongRef<UIAlertView>> g_shownAlerts;

template <class T> T *makeView(Class cls, CGRect frame)
{
    id view = msg<id, CGRect>(msg<id>(cls, "alloc"_sel), "initWithFrame:"_sel, frame);
    return static_cast<T *>(autorelease(view));
}

// A label of the alert's text, as tall as its text needs; answers the y below it.
CGFloat addLabel(UIAlertView *alert, NSString *text, UIFont *font, CGFloat y)
{
    if (!text || text->length() == 0)
        return y;
    auto *label =
        makeView<UILabel>(UILabel::class_(), CGRectMake(kMargin, y, kAlertWidth - 2 * kMargin, 0));
    msg<void>(label, "setNumberOfLines:"_sel, NSInteger(0));
    msg<void>(label, "setTextAlignment:"_sel, NSTextAlignmentCenter);
    msg<void>(label, "setFont:"_sel, font);
    msg<void>(label, "setText:"_sel, text);
    CGSize size = msg<CGSize, CGSize>(label, "sizeThatFits:"_sel,
                                      CGSizeMake(kAlertWidth - 2 * kMargin, CGFLOAT_MAX));
    msg<void, CGRect>(label, "setFrame:"_sel,
                      CGRectMake(kMargin, y, kAlertWidth - 2 * kMargin, size.height));
    msg<void>(alert, "addSubview:"_sel, label);
    return y + size.height + 8;
}

// Title, message, the text field when the style has one, then one row per button.
void buildContent(UIAlertView *alert)
{
    for (UIView *subview : std::vector<StrongRef<UIView>>(alert->m_subviews))
        msg<void>(subview, "removeFromSuperview"_sel);
    CGFloat y = addLabel(alert, alert->m_title, UIFont::boldSystemFontOfSize(17), kMargin);
    y = addLabel(alert, alert->m_message, UIFont::systemFontOfSize(13), y);
    if (alert->m_textField) {
        msg<void, CGRect>(alert->m_textField, "setFrame:"_sel,
                          CGRectMake(kMargin, y, kAlertWidth - 2 * kMargin, 24));
        msg<void>(alert, "addSubview:"_sel, alert->m_textField.get());
        y += 32;
    }
    for (NSString *title : alert->m_buttonTitles) {
        y = std::max(y, addLabel(alert, title, UIFont::systemFontOfSize(17), y + 8));
        y = std::max(y, y + kButtonHeight - 24);
    }
    CGRect screen = UIScreen::mainScreen()->bounds();
    msg<void, CGRect>(alert, "setFrame:"_sel,
                      CGRectMake((screen.size.width - kAlertWidth) / 2,
                                 (screen.size.height - y) / 2, kAlertWidth, y));
}

namespace imp {

id initWithTitle(UIAlertView *self, SEL, NSString *title, NSString *message, id delegate,
                 NSString *cancelButtonTitle, NSString *otherButtonTitles)
{
    if (!msg<id, CGRect>(self, "initWithFrame:"_sel, CGRectZero))
        return nil;
    self->m_title = title;
    self->m_message = message;
    self->m_delegate = delegate;
    if (cancelButtonTitle) {
        self->m_cancelButtonIndex = 0;
        self->m_buttonTitles.emplace_back(cancelButtonTitle);
    }
    if (otherButtonTitles)
        self->m_buttonTitles.emplace_back(otherButtonTitles);
    msg<void>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0.97, 1));
    self->layer()->setCornerRadius(12);
    return self;
}

NSInteger addButtonWithTitle(UIAlertView *self, SEL, NSString *title)
{
    self->m_buttonTitles.emplace_back(title ? title : ""_ns);
    return static_cast<NSInteger>(self->m_buttonTitles.size()) - 1;
}

NSString *buttonTitleAtIndex(UIAlertView *self, SEL, NSInteger index)
{
    if (index < 0 || index >= static_cast<NSInteger>(self->m_buttonTitles.size()))
        return nil;
    return self->m_buttonTitles[static_cast<std::size_t>(index)];
}

NSInteger numberOfButtons(UIAlertView *self, SEL)
{
    return static_cast<NSInteger>(self->m_buttonTitles.size());
}

#define CV_ALERT_OBJECT(getter, setter, member, Type)                                              \
    Type *getter(UIAlertView *self, SEL)                                                           \
    {                                                                                              \
        return self->member;                                                                       \
    }                                                                                              \
    void setter(UIAlertView *self, SEL, Type *value)                                               \
    {                                                                                              \
        self->member = value;                                                                      \
    }
CV_ALERT_OBJECT(title, setTitle, m_title, NSString)
CV_ALERT_OBJECT(message, setMessage, m_message, NSString)
#undef CV_ALERT_OBJECT

void setAlertViewStyle(UIAlertView *self, SEL, UIAlertViewStyle style)
{
    self->m_alertViewStyle = style;
    bool hasField = style != UIAlertViewStyleDefault;
    if (hasField && !self->m_textField)
        self->m_textField =
            StrongRef<UITextField>::adopt(sim::create<UITextField>(UITextField::class_()));
    if (!hasField)
        self->m_textField = nil;
}

UITextField *textFieldAtIndex(UIAlertView *self, SEL, NSInteger index)
{
    if (index != 0 || !self->m_textField) {
        NSLog("-[UIAlertView textFieldAtIndex:]: text field index (%ld) is outside of the "
              "bounds of the array of text fields",
              index);
        return nil;
    }
    return self->m_textField;
}

BOOL isVisible(UIAlertView *self, SEL)
{
    return self->isVisible();
}

void show(UIAlertView *self, SEL)
{
    if (self->isVisible())
        return;
    buildContent(self);
    auto *window = makeView<UIWindow>(UIWindow::class_(), UIScreen::mainScreen()->bounds());
    msg<void, CGFloat>(window, "setWindowLevel:"_sel, UIWindowLevelAlert);
    msg<void>(window, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(0, 0.4));
    msg<void>(window, "addSubview:"_sel, self);
    msg<void, BOOL>(window, "setHidden:"_sel, NO);
    self->m_alertWindow = window;
    g_shownAlerts.emplace_back(self);
}

void dismissWithClickedButtonIndexAnimated(UIAlertView *self, SEL, NSInteger index, BOOL)
{
    self->dismissWithClickedButtonIndex(index);
}

} // namespace imp

const Class kRegistered = UIAlertView::class_();

} // namespace

Class UIAlertView::class_()
{
    static const Class cls = [] {
        UIView::class_();
        return ClassBuilder<UIAlertView>("UIAlertView", "UIView")
            .method("initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:",
                    imp::initWithTitle)
            .method("addButtonWithTitle:", imp::addButtonWithTitle)
            .method("buttonTitleAtIndex:", imp::buttonTitleAtIndex)
            .method("numberOfButtons", imp::numberOfButtons)
            .getter<&UIAlertView::m_cancelButtonIndex>("cancelButtonIndex")
            .method("title", imp::title)
            .method("setTitle:", imp::setTitle)
            .method("message", imp::message)
            .method("setMessage:", imp::setMessage)
            .property<&UIAlertView::m_delegate>("delegate")
            .getter<&UIAlertView::m_alertViewStyle>("alertViewStyle")
            .method("setAlertViewStyle:", imp::setAlertViewStyle)
            .method("textFieldAtIndex:", imp::textFieldAtIndex)
            .method("isVisible", imp::isVisible)
            .method("show", imp::show)
            .method("dismissWithClickedButtonIndex:animated:",
                    imp::dismissWithClickedButtonIndexAnimated)
            .registerClass();
    }();
    return cls;
}

void UIAlertView::dismissWithClickedButtonIndex(NSInteger index)
{
    StrongRef<UIAlertView> keep(this);
    auto tell = [&](SEL selector) {
        if (m_delegate && msg<BOOL>(m_delegate, "respondsToSelector:"_sel, selector))
            msg<void, UIAlertView *, NSInteger>(m_delegate, selector, this, index);
    };
    tell("alertView:clickedButtonAtIndex:"_sel);
    tell("alertView:willDismissWithButtonIndex:"_sel);
    if (m_alertWindow) {
        msg<void, BOOL>(m_alertWindow, "setHidden:"_sel, YES);
        msg<void>(this, "removeFromSuperview"_sel);
        m_alertWindow = nil;
    }
    std::erase_if(g_shownAlerts,
                  [this](const StrongRef<UIAlertView> &shown) { return shown.get() == this; });
    tell("alertView:didDismissWithButtonIndex:"_sel);
}

namespace sim {

std::vector<VisibleAlert> visibleAlerts()
{
    std::vector<VisibleAlert> alerts;
    for (UIAlertView *alert : g_shownAlerts) {
        VisibleAlert entry{alert,
                           alert->m_title ? alert->m_title->str() : "",
                           alert->m_message ? alert->m_message->str() : "",
                           {}};
        for (NSString *title : alert->m_buttonTitles)
            entry.buttons.push_back(title->str());
        alerts.push_back(std::move(entry));
    }
    return alerts;
}

bool pressAlertButton(UIAlertView *alert, NSInteger index)
{
    if (!alert || !alert->isVisible()) {
        NSLog("pressAlertButton: the alert is not on screen");
        return false;
    }
    if (index < 0 || index >= static_cast<NSInteger>(alert->m_buttonTitles.size())) {
        NSLog("pressAlertButton: the alert has no button %ld", index);
        return false;
    }
    alert->dismissWithClickedButtonIndex(index);
    return true;
}

} // namespace sim
