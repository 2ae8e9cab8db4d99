// The Pages page: page dots, Spotlight (one list of sides and section switches on the
// ninth generation, one switch before it), then the icon-list block of home pages.

#include "settings-panel/CVPage.h"

namespace {

const CVChoice kSpotlightSides[] = {
    {0, "None"}, {1, "Left Spotlight"}, {2, "Top Spotlight"}, {3, "Both"}};

const CVRow kRows[] = {
    CVGroup(nullptr, "Hide the page dots."),
    CVSwitch("Hide Dots", "hidePageDots"),
    CVGroup(nullptr, "Prevent the activation of Spotlight."),
    CVList("Disable Spotlight", "disableSpotlightValue", kSpotlightSides).when(CVIsNinthGeneration),
    CVGroup(nullptr, "Return to the first SpringBoard page after locking")
        .when(CVIsNinthGeneration),
    CVSwitch("Return to first page", "returnToFirstPage").when(CVIsNinthGeneration),
    CVGroup("Spotlight Sections", "Hide Spotlight Sections").when(CVIsNinthGeneration),
    CVSwitch("Hide Siri Suggestions", "hideSiriSuggestions").when(CVIsNinthGeneration),
    CVSwitch("Hide Nearby", "hideNearby").when(CVIsNinthGeneration),
    CVSwitch("Hide News", "hideNews").when(CVIsNinthGeneration),
    CVSwitch("Disable Spotlight", "disableSpotlight").when(CVIsBeforeNinthGeneration),
};

const CVIconListBlock kPagesBlock{
    .route = {&gCVIcons.pages, "pages", CVKeyNamesIconList},
    .resizeFooter = "Resize icons in pages.",
    .labelsFooter = "Hide labels of icons in pages.",
    .isDock = false,
};

// Only the page's own switches of the earlier generations and the pages' icon list; the
// ninth generation's Spotlight choices stay as they are.
void resetPages(SectionListController *self, const CVPage &)
{
    gCVIcons.hidePageDots = false;
    gCVIcons.disableSpotlight = false;
    gCVIcons.pages.setDefaults();
    CVCommitWholeSection(self, &gCVIcons, CVSectionIDIcons);
    msg<void>(self, "reloadSpecifiers"_sel);
}

constexpr CVPage kPage{
    .className = "PagesListController",
    .section = &gCVIcons,
    .sectionID = CVSectionIDIcons,
    .tint = {0.9569, 0.4471, 0.4039},
    .rows = kRows,
    .iconList = &kPagesBlock,
    .reset = resetPages,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
