// The Icons page: icon behaviour, badges, the image effect and transparency, label font
// and size (taken up at SpringBoard's start), badge colours and hidden applications. It
// is the delegate of the font chooser (the label font) and of the application chooser
// (the hidden-icons list).

#include "effects/CVCategory.h"
#include "foundation/NSLog.h"
#include "settings-panel/CVListBuilders.h"
#include "settings-panel/CVPage.h"

namespace {

const CVChoice kImageEffects[] = {
    {-1, "None"},         {0, "Invert Colors"}, {1, "Black & White"},
    {2, "High Contrast"}, {3, "Sepia"},         {4, "Faded Colors"},
    {5, "Psycho Colors"}, {6, "Red Ascendant"}, {7, "Green Ascendant"},
};

CVChoices labelFontSizes()
{
    return CVPointSizeChoices(3, 35, 2);
}

const CVRow kRows[] = {
    CVGroup(nullptr, "Hide the \"recently updated\" badge."),
    CVSwitch("Hide Updated", "hideUpdatedMark"),
    CVGroup(nullptr, "Prevent icons from being moved."),
    CVSwitch("Lock Layout", "lockLayout"),
    CVGroup(nullptr,
            "Disables the \"wiggling\" animation that occurs after long pressing on an icon."),
    CVSwitch("Disable Wiggling", "disableWiggling"),
    CVGroup(nullptr, "Prevent icons from being uninstalled."),
    CVSwitch("Disable Uninstall", "disableUninstall"),
    CVGroup(nullptr, "Hide badges on all icons."),
    CVSwitch("Hide Badges", "hideBadges"),
    CVGroup(nullptr, "Hide the text of the badges while keeping the background"),
    CVSwitch("Hide Badge Text", "hideBadgeText"),
    CVGroup(nullptr, "Apply different effects to icon images."),
    CVList("Icon Image Effect", "effect", kImageEffects),
    CVGroup("Image Transparency", "Change the transparency of icon images (1.0 is the default)."),
    CVSlider(nullptr, "iconImageAlpha", 0.05, 1.0),
    CVGroup("Icon Labels", "Customize different aspects of icon labels. You need to respring in "
                           "order to apply any of these changes."),
    CVList("Label Font Size", "labelFontSize", labelFontSizes),
    CVSwitch("Custom Font Type", "customLabelFont"),
    CVFontLink("Choose Font", "labelFontName"),
    CVGroup("Badge Colors", "Customize the background and text color on icon badges."),
    CVSwitch("Background", "customBadgeBackgroundColor"),
    CVColorLink("Background Color", "badgeBackgroundColor"),
    CVSwitch("Text", "customBadgeTextColor"),
    CVColorLink("Text Color", "badgeTextColor"),
    CVGroup("Hide Icons",
            "Hide newsstand, the Corvane app, or any other app(s) you have installed."),
    CVSwitch("Hide Newsstand", "hideNewsstand"),
    CVSwitch("Hide Corvane", "hideCorvane"),
    CVAppsLink("Hide Icons", "hiddenIcons"),
};

const char *const kRestartKeys[] = {"labelFontSize", "customLabelFont", "labelFontName"};

// Every field of the section but the icon lists, and the home pages' icon list.
void resetIcons(SectionListController *self, const CVPage &)
{
    gCVIcons.setBasicDefaults();
    gCVIcons.pages.setDefaults();
    CVCommitWholeSection(self, &gCVIcons, CVSectionIDIcons);
    msg<void>(self, "reloadSpecifiers"_sel);
}

const CVPage &iconsPage();

// Font chooser delegate ------------------------------------------------------------------

BOOL fontIsSelected(SectionListController *, SEL, id, NSString *fontName)
{
    NSString *stored = gCVIcons.labelFontName;
    if (!stored || stored->length() == 0)
        return NO;
    return fontName && stored->isEqualToString(fontName);
}

void didSelectFont(SectionListController *self, SEL, id controller, NSString *fontName)
{
    NSString *key = CVRowKey(msg<PSSpecifier *>(controller, "specifier"_sel));
    NSLog("didSelectFont: %@", NSDictionary::dictionaryWithObjectsForKeys({{key, fontName}}));
    CVWritePageValue(self, iconsPage(), key, fontName);
}

// Application chooser delegate: the selection is the hidden-icons list -----------------

BOOL appIsSelected(SectionListController *, SEL, id, NSString *identifier)
{
    return identifier && gCVIcons.hiddenIcons->containsObject(identifier);
}

void toggleApp(SectionListController *self, SEL, id, NSString *identifier)
{
    if (!identifier)
        return;
    CFMutableArrayRef hidden = gCVIcons.hiddenIcons;
    CFIndex index =
        CFArrayGetFirstIndexOfValue(hidden, CFRangeMake(0, CFArrayGetCount(hidden)), identifier);
    if (index >= 0)
        CFArrayRemoveValueAtIndex(hidden, index);
    else
        CFArrayAppendValue(hidden, identifier);
    CVCommitWholeSection(self, &gCVIcons, CVSectionIDIcons);
}

void addDelegateMethods(Class pageClass)
{
    CVAddCategoryMethod(pageClass, "fontController:fontIsSelected:", fontIsSelected);
    CVAddCategoryMethod(pageClass, "fontController:didSelectFont:", didSelectFont);
    CVAddCategoryMethod(pageClass, "appListController:isSelected:", appIsSelected);
    CVAddCategoryMethod(pageClass, "appListController:toggle:", toggleApp);
}

constexpr CVPage kPage{
    .className = "IconsListController",
    .section = &gCVIcons,
    .sectionID = CVSectionIDIcons,
    .tint = {0.6431, 0.5608, 0.7490},
    .rows = kRows,
    .restartKeys = kRestartKeys,
    .reset = resetIcons,
    .addMethods = addDelegateMethods,
};

const CVPage &iconsPage()
{
    return kPage;
}

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
