// How file values become fields: through the C conversions stored files rely on (bools,
// counts and colours through signed char, enumerations through int); wrong kinds ignored.

#include "SettingsTestSupport.h"

namespace {

using namespace cvtest;

using Conversions = SettingsTest;

TEST_F(Conversions, CountsWrapThroughSignedChar)
{
    struct Case {
        id value;
        unsigned char expected;
    };
    const Case cases[] = {
        {integer(300), 44},   // 300 - 256
        {integer(-1), 255},   // (signed char)-1 seen as unsigned
        {integer(-130), 126}, // -130 + 256
        {real(3.9), 3},       // truncated toward zero
        {boolean(true), 1},
        {real(1e30), 255}, // saturates to the largest integer first, whose low byte is 0xFF
    };
    for (const Case &item : cases) {
        SCOPED_TRACE(sim::describe(item.value));
        gCVIcons.pages.load(dict({{"iconColumns", item.value}}));
        EXPECT_EQ(gCVIcons.pages.iconColumns, item.expected);
    }
}

TEST_F(Conversions, BoolsAreTrueWhenTheirLowByteIsNotZero)
{
    struct Case {
        id value;
        bool expected;
    };
    const Case cases[] = {
        {boolean(true), true}, {integer(2), true}, {integer(256), false},
        {integer(257), true},  {real(0.5), false}, {integer(0), false},
    };
    for (const Case &item : cases) {
        SCOPED_TRACE(sim::describe(item.value));
        gCVDock.hideDock = !item.expected;
        gCVDock.load(dict({{"hideDock", item.value}}));
        EXPECT_EQ(gCVDock.hideDock, item.expected);
    }
}

TEST_F(Conversions, EnumerationsGoThroughIntAndFloatsTakeAnyNumber)
{
    gCVAnimations.load(dict({{"scrollAnimationType", integer(263279764)}}));
    EXPECT_EQ(gCVAnimations.scrollAnimationType, 263279764u);
    gCVAnimations.load(dict({{"lockAnimationType", integer(-1)}}));
    EXPECT_EQ(gCVAnimations.lockAnimationType, 4294967295u);
    gCVIcons.load(dict({{"effect", integer(4294967295LL)}})); // int of 0xFFFFFFFF is -1
    EXPECT_EQ(gCVIcons.effect, -1);
    gCVIcons.load(dict({{"effect", integer(4294967296LL + 3)}}));
    EXPECT_EQ(gCVIcons.effect, 3);
    for (auto [number, expected] : {std::pair{integer(3), 3.0}, std::pair{real(0.125), 0.125},
                                    std::pair{boolean(true), 1.0}}) {
        gCVAnimations.load(dict({{"animationSpeed", number}}));
        EXPECT_EQ(gCVAnimations.animationSpeed, expected);
    }
}

TEST_F(Conversions, AColourIsReadOnlyAsExactlyFourNumbersWhoseComponentsWrapLikeCounts)
{
    const CVColor before = gCVControlCenter.normalControlColor;
    const id rejected[] = {
        list({integer(1), integer(2), integer(3)}),
        list({integer(1), integer(2), integer(3), integer(4), integer(5)}),
        list({integer(1), text("2"), integer(3), integer(4)}),
        list({}),
        integer(5),
        text("red"),
    };
    for (id value : rejected) {
        SCOPED_TRACE(sim::describe(value));
        gCVControlCenter.load(dict({{"normalControlColor", value}}));
        EXPECT_EQ(gCVControlCenter.normalControlColor, before);
    }
    // Four numbers are taken, their components wrapping like counts.
    gCVControlCenter.load(
        dict({{"backdropColor", list({integer(300), integer(-1), real(12.7), boolean(true)})}}));
    EXPECT_EQ(gCVControlCenter.backdropColor, (CVColor{44, 255, 12, 1}));
}

TEST_F(Conversions, ValuesOfTheWrongKindLeaveTheirFieldAlone)
{
    gCVIcons.load(dict({{"iconImageAlpha", real(0.5)}, {"labelFontName", text("Helvetica")}}));
    StrongRef<NSDictionary> before = gCVIcons.getDictionary();
    gCVIcons.load(dict({
        {"iconImageAlpha", text("0.25")},          // a string where a number is expected
        {"hideBadges", list({boolean(true)})},     // a list where a number is expected
        {"labelFontName", integer(12)},            // a number where a string is expected
        {"pages", integer(4)},                     // a number where a dictionary is expected
        {"folders", list({integer(1)})},           // a list where a dictionary is expected
        {"hiddenIcons", text("com.example.mail")}, // a string where a list is expected
    }));
    EXPECT_TRUE(sim::objectsEqual(before, gCVIcons.getDictionary()))
        << sim::describe(gCVIcons.getDictionary());

    // The lock screen's fixed-size texts take only strings too.
    gCVLockScreen.load(dict({{"sliderText", text("slide")}}));
    gCVLockScreen.load(dict({{"sliderText", integer(42)}}));
    EXPECT_STREQ(gCVLockScreen.sliderText, "slide");

    // A hidden icons list with anything but strings is ignored whole.
    gCVIcons.load(dict({{"hiddenIcons", list({text("com.example.mail")})}}));
    gCVIcons.load(dict({{"hiddenIcons", list({text("com.example.maps"), integer(7)})}}));
    EXPECT_TRUE(sim::objectsEqual(gCVIcons.getDictionary()->objectForKey("hiddenIcons"_ns),
                                  list({text("com.example.mail")})));

    // Item flags of the wrong kind are skipped one by one, and a flags entry that is no
    // dictionary is ignored.
    gCVStatusBar.load(
        dict({{"itemIsHidden",
               dict({{"time", text("yes")}, {"alarm", boolean(true)}, {"carrier", list({})}})}}));
    gCVStatusBar.load(dict({{"itemIsHidden", boolean(false)}}));
    EXPECT_FALSE(gCVStatusBar.itemIsHidden[0]);
    EXPECT_TRUE(gCVStatusBar.itemIsHidden[13]);
    EXPECT_FALSE(gCVStatusBar.itemIsHidden[4]);
}

TEST_F(Conversions, LoadingSomethingThatIsNotADictionaryChangesNothing)
{
    StrongRef<NSDictionary> before = gCVNotificationCenter.getDictionary();
    gCVNotificationCenter.load(nullptr);
    gCVNotificationCenter.load(reinterpret_cast<CFDictionaryRef>(list({text("disableNC")})));
    EXPECT_TRUE(sim::objectsEqual(before, gCVNotificationCenter.getDictionary()));
}

} // namespace
