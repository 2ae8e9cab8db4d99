// Control Center's sections and their toggles (ControlCenter.h).

#include "springboard/control-center/ControlCenter.h"

#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "springboard/HostClass.h"
#include "springboard/HostViews.h"
#include "springboard/SpringBoardFunctions.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/ViewDumpAttributes.h"
#include "uikit/UISlider.h"

#include <nlohmann/json.hpp>

namespace {

constexpr CGFloat kToggleSide = 50;
constexpr CGFloat kAirStuffSeparatorWidth = 1.5;

constexpr CGFloat kSettingsHeight = 80;
constexpr CGFloat kBrightnessHeight = 48;
constexpr CGFloat kMediaControlsHeight = 118;
constexpr CGFloat kAirStuffHeight = 56;
constexpr CGFloat kQuickLaunchHeight = 80;

constexpr const char *kSettingsToggleIDs[] = {"airplane-mode", "wifi", "bluetooth",
                                              "do-not-disturb", "rotation-lock"};
constexpr int kQuickLaunchButtons = 4;

CGSize sectionSize(NSInteger orientation, CGFloat height)
{
    return {sim::SpringBoardMetrics::interfaceSize(orientation).width, height};
}

StrongRef<SBCCButtonLikeSectionView> newButton()
{
    return sim::newView<SBCCButtonLikeSectionView>(SBCCButtonLikeSectionView::class_(),
                                                   {{0, 0}, {kToggleSide, kToggleSide}});
}

// Buttons side by side, spread evenly across the width and centred in the height.
void spreadButtons(const std::vector<UIView *> &buttons, CGSize size)
{
    if (buttons.empty())
        return;
    CGFloat gap = (size.width - buttons.size() * kToggleSide) / (buttons.size() + 1);
    CGFloat y = (size.height - kToggleSide) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        sim::setFrame(buttons[i], {{gap + i * (gap + kToggleSide), y}, {kToggleSide, kToggleSide}});
}

std::vector<UIView *> viewsOf(NSObject *collection)
{
    std::vector<UIView *> views;
    if (!collection)
        return views;
    bool dictionary = msg<BOOL, Class>(collection, "isKindOfClass:"_sel, NSDictionary::class_());
    const NSArray *objects = dictionary ? static_cast<NSDictionary *>(collection)->allValues()
                                        : static_cast<NSArray *>(collection);
    for (const auto &object : *objects)
        views.push_back(static_cast<UIView *>(object.get()));
    return views;
}

namespace imp {

// --- Toggles ---

id buttonInitWithFrame(SBCCButtonLikeSectionView *self, SEL _cmd, CGRect frame)
{
    if (!msgSuper<id, CGRect>(SBCCButtonLikeSectionView::class_(), self, _cmd, frame))
        return nil;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel, UIColor::colorWithWhiteAlpha(1, 0.55));
    msg<void, CGFloat>(msg<id>(self, "layer"_sel), "setCornerRadius:"_sel, kToggleSide / 2);
    self->m_glyphView = sim::newView(UIView::class_(), CGRectZero);
    sim::addSubview(self, self->m_glyphView);
    msg<void>(self, "_updateGlyphColor"_sel);
    return self;
}

void buttonLayoutSubviews(SBCCButtonLikeSectionView *self, SEL)
{
    CGSize size = self->bounds().size;
    sim::setFrame(self->m_glyphView,
                  {{size.width / 4, size.height / 4}, {size.width / 2, size.height / 2}});
}

void updateGlyphColor(SBCCButtonLikeSectionView *self, SEL)
{
    msg<void, UIColor *>(self->m_glyphView, "setBackgroundColor:"_sel,
                         _SBUIControlCenterControlColorForState(self->controlState()));
}

void setHighlighted(SBCCButtonLikeSectionView *self, SEL, BOOL highlighted)
{
    self->m_highlighted = highlighted;
    msg<void>(self, "_updateGlyphColor"_sel);
}

void setSelected(SBCCButtonLikeSectionView *self, SEL, BOOL selected)
{
    self->m_selected = selected;
    msg<void>(self, "_updateGlyphColor"_sel);
}

// --- Sections ---

void settingsViewDidLoad(SBCCSettingsSectionController *self, SEL)
{
    NSMutableDictionary *buttons = NSMutableDictionary::dictionary();
    for (const char *identifier : kSettingsToggleIDs) {
        StrongRef<SBCCButtonLikeSectionView> button = newButton();
        sim::addSubview(self->m_view, button);
        buttons->setObjectForKey(button, NSString::stringWithString(identifier));
    }
    self->m_buttonsByID = StrongRef<NSObject>(buttons);
}

void quickLaunchViewDidLoad(SBCCQuickLaunchSectionController *self, SEL)
{
    NSMutableArray *buttons = NSMutableArray::array();
    for (int i = 0; i < kQuickLaunchButtons; ++i) {
        StrongRef<SBCCButtonLikeSectionView> button = newButton();
        sim::addSubview(self->m_view, button);
        buttons->addObject(button);
    }
    self->m_buttons = StrongRef<NSObject>(buttons);
}

void brightnessViewDidLoad(SBCCBrightnessSectionController *self, SEL)
{
    self->m_slider = sim::newView(UISlider::class_(), CGRectZero);
    msg<void, float>(self->m_slider, "setValue:"_sel, 0.5f);
    sim::addSubview(self->m_view, self->m_slider);
}

void mediaViewDidLoad(SBCCMediaControlsSectionController *self, SEL)
{
    StrongRef<UILabel> title =
        sim::newLabel({{0, 20}, {0, 24}}, "Not Playing"_ns, UIFont::systemFontOfSize(15));
    sim::addSubview(self->m_view, title);
}

void airStuffViewDidLoad(SBCCAirStuffSectionController *self, SEL)
{
    self->m_airDropButton = newButton();
    self->m_airPlayButton = newButton();
    self->m_separatorLine = sim::newView(UIView::class_(), CGRectZero);
    msg<void, UIColor *>(self->m_separatorLine, "setBackgroundColor:"_sel,
                         UIColor::colorWithWhiteAlpha(0, 0.15));
    for (UIView *view :
         {static_cast<UIView *>(self->m_airDropButton.get()), self->m_separatorLine.get(),
          static_cast<UIView *>(self->m_airPlayButton.get())})
        sim::addSubview(self->m_view, view);
    msg<void, BOOL>(self, "_updateSubsectionVisibilityAnimated:"_sel, NO);
}

// AirDrop on the left half, AirPlay on the right, the line between them.
void airStuffUpdateSubsectionVisibility(SBCCAirStuffSectionController *self, SEL, BOOL)
{
    CGSize size = self->m_view->bounds().size;
    CGFloat half = size.width / 2;
    CGFloat y = (size.height - kToggleSide) / 2;
    sim::setFrame(self->m_airDropButton,
                  {{(half - kToggleSide) / 2, y}, {kToggleSide, kToggleSide}});
    sim::setFrame(self->m_airPlayButton,
                  {{half + (half - kToggleSide) / 2, y}, {kToggleSide, kToggleSide}});
    sim::setFrame(self->m_separatorLine, {{half - kAirStuffSeparatorWidth / 2, 8},
                                          {kAirStuffSeparatorWidth, size.height - 16}});
}

void sectionViewDidLayout(SBControlCenterSectionViewController *self, SEL)
{
    CGSize size = self->m_view->bounds().size;
    Class cls = object_getClass(self);
    if (cls == objc_getClass("SBCCSettingsSectionController"))
        spreadButtons(viewsOf(static_cast<SBCCSettingsSectionController *>(self)->m_buttonsByID),
                      size);
    else if (cls == objc_getClass("SBCCQuickLaunchSectionController"))
        spreadButtons(viewsOf(static_cast<SBCCQuickLaunchSectionController *>(self)->m_buttons),
                      size);
    else if (cls == objc_getClass("SBCCBrightnessSectionController"))
        sim::setFrame(static_cast<SBCCBrightnessSectionController *>(self)->m_slider,
                      {{24, 0}, {size.width - 48, size.height}});
    else if (cls == objc_getClass("SBCCAirStuffSectionController"))
        msg<void, BOOL>(self, "_updateSubsectionVisibilityAnimated:"_sel, NO);
    for (const auto &subview : self->m_view->m_subviews)
        if (msg<BOOL, Class>(subview, "isKindOfClass:"_sel, UILabel::class_()))
            sim::setFrame(subview, {{0, 20}, {size.width, 24}});
}

CGSize settingsSize(id, SEL, NSInteger orientation)
{
    return sectionSize(orientation, kSettingsHeight);
}

CGSize brightnessSize(id, SEL, NSInteger orientation)
{
    return sectionSize(orientation, kBrightnessHeight);
}

CGSize mediaSize(id, SEL, NSInteger orientation)
{
    return sectionSize(orientation, kMediaControlsHeight);
}

CGSize airStuffSize(id, SEL, NSInteger orientation)
{
    return sectionSize(orientation, kAirStuffHeight);
}

CGSize quickLaunchSize(id, SEL, NSInteger orientation)
{
    return sectionSize(orientation, kQuickLaunchHeight);
}

} // namespace imp

void dumpButton(UIView *view, nlohmann::json &node)
{
    auto *button = static_cast<SBCCButtonLikeSectionView *>(view);
    node["controlState"] = button->controlState();
    UIColor *color = msg<UIColor *>(button->m_glyphView, "backgroundColor"_sel);
    if (color)
        node["glyphColor"] = {color->m_red, color->m_green, color->m_blue, color->m_alpha};
}

} // namespace

Class SBCCButtonLikeSectionView::class_()
{
    return objc_getClass("SBCCButtonLikeSectionView");
}

int SBCCButtonLikeSectionView::controlState() const
{
    return m_highlighted ? 1 : m_selected ? 4 : 0;
}

Class SBControlCenterSectionViewController::class_()
{
    return objc_getClass("SBControlCenterSectionViewController");
}

namespace sim {

void registerControlCenterSectionClasses()
{
    HostClass<SBCCButtonLikeSectionView>("SBCCButtonLikeSectionView", "UIView")
        .ivar("_glyphView", &SBCCButtonLikeSectionView::m_glyphView)
        .method("initWithFrame:", imp::buttonInitWithFrame)
        .method("layoutSubviews", imp::buttonLayoutSubviews)
        .method("_updateGlyphColor", imp::updateGlyphColor)
        .getter<&SBCCButtonLikeSectionView::m_highlighted>("isHighlighted")
        .method("setHighlighted:", imp::setHighlighted)
        .getter<&SBCCButtonLikeSectionView::m_selected>("isSelected")
        .method("setSelected:", imp::setSelected)
        .registerClass();
    // iOS 9 builds its buttons from modules; the class is all that tells it apart here.
    HostClass<NSObject>("SBCCButtonModule", "NSObject").onGenerations(iOS9).registerClass();
    HostClass<SBControlCenterSectionViewController>("SBControlCenterSectionViewController",
                                                    "UIViewController")
        .method("viewDidLayoutSubviews", imp::sectionViewDidLayout)
        .registerClass();
    HostClass<SBCCSettingsSectionController>("SBCCSettingsSectionController",
                                             "SBControlCenterSectionViewController")
        .ivar("_buttonsByID", &SBCCSettingsSectionController::m_buttonsByID)
        .method("viewDidLoad", imp::settingsViewDidLoad)
        .method("contentSizeForOrientation:", imp::settingsSize)
        .registerClass();
    HostClass<SBCCBrightnessSectionController>("SBCCBrightnessSectionController",
                                               "SBControlCenterSectionViewController")
        .ivar("_slider", &SBCCBrightnessSectionController::m_slider)
        .method("viewDidLoad", imp::brightnessViewDidLoad)
        .method("contentSizeForOrientation:", imp::brightnessSize)
        .registerClass();
    HostClass<SBCCMediaControlsSectionController>("SBCCMediaControlsSectionController",
                                                  "SBControlCenterSectionViewController")
        .method("viewDidLoad", imp::mediaViewDidLoad)
        .method("contentSizeForOrientation:", imp::mediaSize)
        .registerClass();
    HostClass<SBCCAirStuffSectionController>("SBCCAirStuffSectionController",
                                             "SBControlCenterSectionViewController")
        .ivar("_airDropButton", &SBCCAirStuffSectionController::m_airDropButton)
        .ivar("_airPlayButton", &SBCCAirStuffSectionController::m_airPlayButton)
        .method("viewDidLoad", imp::airStuffViewDidLoad)
        .method("_updateSubsectionVisibilityAnimated:", imp::airStuffUpdateSubsectionVisibility)
        .method("contentSizeForOrientation:", imp::airStuffSize)
        .registerClass();
    HostClass<SBCCQuickLaunchSectionController>("SBCCQuickLaunchSectionController",
                                                "SBControlCenterSectionViewController")
        .ivar("_buttons", &SBCCQuickLaunchSectionController::m_buttons)
        .method("viewDidLoad", imp::quickLaunchViewDidLoad)
        .method("contentSizeForOrientation:", imp::quickLaunchSize)
        .registerClass();
    addViewDumpAttributes("SBCCButtonLikeSectionView", dumpButton);
}

} // namespace sim
