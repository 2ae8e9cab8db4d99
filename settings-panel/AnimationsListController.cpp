// The Animations page: system animation speed, the lock animation (not on iPad, which has
// none) and the page-scroll effect of the home screen.

#include "effects/CVLockAnimations.h"
#include "effects/CVScrollAnimations.h"
#include "foundation/NSLog.h"
#include "settings-panel/CVPage.h"

namespace {

const CVChoice kLockAnimations[] = {
    {0, CVLockAnimationTitles[0]}, {1, CVLockAnimationTitles[1]}, {2, CVLockAnimationTitles[2]},
    {3, CVLockAnimationTitles[3]}, {4, CVLockAnimationTitles[4]},
};

// Every effect by its identifier, then "Random", whose value is not an index.
CVChoices scrollAnimations()
{
    NSMutableArray *values = NSMutableArray::array();
    NSMutableArray *titles = NSMutableArray::array();
    auto add = [&](CVUIScrollAnimationID identifier) {
        values->addObject(NSNumber::numberWithUnsignedInt(identifier));
        titles->addObject(CVUIScrollAnimationTitle(identifier));
    };
    for (CVUIScrollAnimationID identifier = 0; identifier < CVUIScrollAnimationCount; ++identifier)
        add(identifier);
    add(CVUIScrollAnimationRandom);
    return {values, titles};
}

// An iPad has no lock animation, so a choice stored elsewhere shows no duration either.
bool hasLockAnimation()
{
    return CVIsNotPad() && gCVAnimations.lockAnimationType != 0;
}

const CVRow kRows[] = {
    CVGroup(nullptr, "Modify the duration of the animations of the whole OS."),
    CVSwitch("Custom Speed", "customSpeed"),
    CVSlider(nullptr, "animationSpeed", 0.3, 3.0),
    CVGroup("Lock Animation", "Select an animation played while locking your device.")
        .when(CVIsNotPad),
    CVList("Animation", "lockAnimationType", kLockAnimations).when(CVIsNotPad),
    CVGroup(nullptr, "Adjust the duration of the lock animation.").when(hasLockAnimation),
    CVSlider(nullptr, "lockAnimationDuration", 0.1, 3.0).when(hasLockAnimation),
    CVGroup("Icons Scrolling Animation",
            "Select a special effect applied while scrolling between icon pages."),
    CVList("Animation", "scrollAnimationType", scrollAnimations),
};

const char *const kReloadKeys[] = {"lockAnimationType"};

id loggedRead(const CVPage &page, NSString *key)
{
    id value = CVReadPageValue(page, key);
    double number = value && msg<BOOL>(value, "isKindOfClass:"_sel, NSNumber::class_())
                        ? static_cast<NSNumber *>(value)->doubleValue()
                        : 0;
    NSLog("getPreference: %@ = %@ (%f)", key, value, number);
    return value;
}

void loggedWrite(SectionListController *self, const CVPage &page, NSString *key, id value)
{
    NSLog("setPreference: %@", key);
    NSLog("CVAnimations.load(%@)", NSDictionary::dictionaryWithObjectsForKeys({{key, value}}));
    CVWritePageValue(self, page, key, value);
}

constexpr CVPage kPage{
    .className = "AnimationsListController",
    .section = &gCVAnimations,
    .sectionID = CVSectionIDAnimations,
    .tint = {0.9843, 0.6471, 0.3020},
    .rows = kRows,
    .reloadKeys = kReloadKeys,
    .read = loggedRead,
    .write = loggedWrite,
};

const Class kRegistered = CVRegisterPage<kPage>();

} // namespace
