// The key tables of the sections without particulars of their own: every key with its
// kind and default, in the order of the settings catalogue. (The icons and the status
// bar have files of their own.)

#include "settings-core/CVKeyTable.h"

namespace {
constexpr CVColor kWhite{255, 255, 255, 0};
constexpr CVColor kMidGrey{127, 127, 127, 0};
} // namespace

void CVGlobal::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("enabled", enabled, true);
}

void CVDock::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("hideDock", hideDock, false);
    keys.boolean("hideBackground", hideBackground, false);
    keys.changeCallback(changeCallback);
}

void CVAppSlider::visitKeys(CVKeyVisitor &keys)
{
    keys.real("pageScaleFactor", pageScaleFactor, 1.0);
    keys.boolean("hideIcons", hideIcons, false);
    keys.enumeration("homeAction", homeAction, 0);
    keys.enumeration("appsMode", appsMode, 0);
    keys.changeCallback(changeCallback);
}

void CVFolders::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("nestedFolders", nestedFolders, false);
    keys.boolean("lockFolderNames", lockFolderNames, false);
    keys.boolean("pinchToClose", pinchToClose, false);
    keys.boolean("transparentBackground", transparentBackground, false);
    keys.boolean("unblurredIconBackground", unblurredIconBackground, false);
    keys.boolean("hideTitle", hideTitle, false);
    keys.boolean("fastOpen", fastOpen, false);
    keys.boolean("useFullScreen", useFullScreen, false);
    keys.boolean("darkBackground", darkBackground, false);
    keys.changeCallback(changeCallback);
}

void CVLockScreen::visitKeys(CVKeyVisitor &keys)
{
    keys.enumeration("sliderMode", sliderMode, 0);
    keys.dateStyle("sliderTimeStyle", sliderTimeStyle, 2); // NSDateFormatterMediumStyle
    keys.text("sliderText", sliderText);
    keys.boolean("hideCamera", hideCamera, false);
    keys.boolean("customTimeColor", customTimeColor, false);
    keys.colour("timeColor", timeColor, kWhite);
    keys.enumeration("timeMode", timeMode, 0);
    keys.text("timeText", timeText);
    keys.real("timeFontSize", timeFontSize, 0.0);
    keys.enumeration("dateMode", dateMode, 0);
    keys.text("dateText", dateText);
    keys.real("dateFontSize", dateFontSize, 0.0);
    keys.boolean("hideCCGrabber", hideCCGrabber, false);
    keys.boolean("hideNCGrabber", hideNCGrabber, false);
    keys.boolean("hideAlbumArtwork", hideAlbumArtwork, false);
    keys.changeCallback(changeCallback);
}

void CVControlCenter::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("disableCC", disableCC, false);
    keys.boolean("hideSeparators", hideSeparators, false);
    keys.boolean("hideSectionQuickLaunch", hideSectionQuickLaunch, false);
    keys.boolean("hideSectionBrightness", hideSectionBrightness, false);
    keys.boolean("hideSectionMediaControls", hideSectionMediaControls, false);
    keys.boolean("hideSectionAirStuff", hideSectionAirStuff, false);
    keys.boolean("hideSectionSettings", hideSectionSettings, false);
    keys.boolean("customBackdropColor", customBackdropColor, false);
    keys.real("backdropColorAlpha", backdropColorAlpha, 0.5);
    keys.colour("backdropColor", backdropColor, kMidGrey);
    keys.real("blurRadius", blurRadius, 30.0);
    keys.boolean("customNormalControlColor", customNormalControlColor, false);
    keys.colour("normalControlColor", normalControlColor, kMidGrey);
    keys.boolean("customHighlightedControlColor", customHighlightedControlColor, false);
    keys.colour("highlightedControlColor", highlightedControlColor, kMidGrey);
    keys.changeCallback(changeCallback);
}

void CVAnimations::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("customSpeed", customSpeed, false);
    keys.real("animationSpeed", animationSpeed, 1.0);
    keys.enumeration("lockAnimationType", lockAnimationType, 0);
    keys.real("lockAnimationDuration", lockAnimationDuration, 1.0);
    keys.enumeration("scrollAnimationType", scrollAnimationType, 0);
    keys.changeCallback(changeCallback);
}

void CVNotificationCenter::visitKeys(CVKeyVisitor &keys)
{
    keys.boolean("customBackdropColor", customBackdropColor, false);
    keys.real("backdropColorAlpha", backdropColorAlpha, 0.5);
    keys.colour("backdropColor", backdropColor, kMidGrey);
    keys.real("blurRadius", blurRadius, 20.0);
    keys.boolean("customNCText", customNCText, false);
    keys.string("customNotificationUnavailableText", customNotificationUnavailableText);
    keys.boolean("hideToday", hideToday, false);
    keys.boolean("hideMissed", hideMissed, false);
    keys.boolean("disableNC", disableNC, false);
    keys.changeCallback(changeCallback);
}
