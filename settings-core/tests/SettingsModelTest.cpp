// The settings model through its four operations (defaults, load, getValue, getDictionary),
// and the particulars of the icons, the status bar's item flags and the lock screen texts.

#include "SettingsTestSupport.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

using namespace cvtest;
using Kind = NSNumber::Kind;

constexpr const char *kCorvaneApplication = "com.kestrelworks.corvane3-app";

// The keys whose values differ between two dictionaries of the same entity.
std::set<std::string> changedKeys(CFDictionaryRef before, CFDictionaryRef after)
{
    std::set<std::string> changed;
    for (const auto &[key, value] : *after)
        if (!sim::objectsEqual(value.get(), before->objectForKey(key.get())))
            changed.insert(static_cast<NSString *>(key.get())->str());
    return changed;
}

std::vector<std::string> hiddenIcons()
{
    std::vector<std::string> identifiers;
    for (const auto &identifier : *gCVIcons.hiddenIcons)
        identifiers.push_back(static_cast<NSString *>(identifier.get())->str());
    return identifiers;
}

using Defaults = SettingsTest;

bool isA(id value, Class cls)
{
    return msg<BOOL, Class>(value, "isKindOfClass:"_sel, cls);
}

// Every value changed to another of its kind: switches turned, whole numbers moved by one,
// reals raised by a half (exact in a float), texts and lists filled, nesting alike.
id changedValue(id value)
{
    if (isA(value, NSNumber::class_())) {
        auto *number = static_cast<NSNumber *>(value);
        if (number->isBoolean())
            return boolean(!number->boolValue());
        if (number->isReal())
            return real(static_cast<double>(number->floatValue()) + 0.5);
        int value = number->intValue(); // a count or colour byte stays a byte
        return integer(value == 0 ? 1 : value - 1);
    }
    if (isA(value, NSString::class_()))
        return text("\xE2\x86\x92"); // an arrow: three bytes of UTF-8
    if (isA(value, NSDictionary::class_())) {
        NSMutableDictionary *changed = NSMutableDictionary::dictionary();
        for (const auto &[key, entry] : *static_cast<NSDictionary *>(value))
            changed->setObjectForKey(changedValue(entry.get()), key.get());
        return changed;
    }
    auto *array = static_cast<NSArray *>(value);
    if (array->count() == 0) // the hidden icons, which hiding Corvane keeps holding it
        return list({text(kCorvaneApplication)});
    NSMutableArray *changed = NSMutableArray::array();
    for (const auto &entry : *array)
        changed->addObject(changedValue(entry.get()));
    return changed;
}

// Whatever a section writes, its load reads back under the same key, getValue answers
// each plain key with it, and the settings file carries all of it to the next load: a key
// misspelt on any side shows here.
TEST_F(Defaults, EveryKeyIsReadBackAnsweredAndKeptThroughTheFile)
{
    NSMutableDictionary *saved = NSMutableDictionary::dictionary();
    for (const NamedSection &section : allSections()) {
        SCOPED_TRACE(section.name);
        StrongRef<NSDictionary> changed =
            static_cast<NSDictionary *>(changedValue(section.entity->getDictionary()));
        section.entity->load(changed);
        EXPECT_TRUE(sim::objectsEqual(section.entity->getDictionary(), changed))
            << sim::describe(section.entity->getDictionary()) << "\n"
            << sim::describe(changed);
        for (const auto &[key, value] : *changed) {
            std::string name = static_cast<NSString *>(key.get())->str();
            if (isA(value.get(), NSDictionary::class_()) || name == "hiddenIcons")
                continue; // nested entities, the item flags and the hidden icons answer no value
            EXPECT_TRUE(sim::objectsEqual(
                section.entity->getValue(static_cast<NSString *>(key.get())), value.get()))
                << name;
        }
        saved->setObjectForKey(section.entity->getDictionary(), text(section.name));
    }
    CVSaveSettings();
    for (const NamedSection &section : allSections())
        section.entity->setDefaults();
    CVLoadSettings();
    for (const NamedSection &section : allSections())
        EXPECT_TRUE(sim::objectsEqual(section.entity->getDictionary(),
                                      saved->objectForKey(text(section.name))))
            << section.name;
}

using Loading = SettingsTest;

TEST_F(Loading, AOneEntryDictionaryChangesThatFieldAndNothingElse)
{
    struct Case {
        CVSettingsEntity *entity;
        const char *key;
        id value;
    };
    const Case cases[] = {
        {&gCVIcons, "hideBadges", boolean(true)},
        {&gCVIcons.pages, "iconColumns", integer(6)},
        {&gCVIcons.folders.coverflow, "perspective", real(0.25)},
        {&gCVLockScreen, "dateText", text("Today")},
        {&gCVControlCenter, "backdropColor",
         list({integer(1), integer(2), integer(3), integer(1)})},
    };
    for (const Case &change : cases) {
        SCOPED_TRACE(change.key);
        StrongRef<NSDictionary> before = change.entity->getDictionary();
        change.entity->load(dict({{change.key, change.value}}));
        CFDictionaryRef after = change.entity->getDictionary();
        EXPECT_EQ(changedKeys(before, after), std::set<std::string>{change.key});
    }
    // The same change seen from the section above the nested entity.
    StrongRef<NSDictionary> iconsBefore = gCVIcons.getDictionary();
    gCVIcons.load(dict({{"dock", dict({{"iconRows", integer(2)}})}}));
    EXPECT_EQ(changedKeys(iconsBefore, gCVIcons.getDictionary()), std::set<std::string>{"dock"});
    EXPECT_EQ(gCVIcons.dock.iconRows, 2);
    EXPECT_EQ(gCVIcons.pages.iconRows, 0);
}

// Unknown keys change nothing and answer nil; nested entities, the hidden icons and the
// item flags are no plain values either.
TEST_F(Loading, OnlyAKnownPlainKeyIsLoadedAndAnswered)
{
    StrongRef<NSDictionary> before = gCVDock.getDictionary();
    gCVDock.load(dict({{"hideEverything", boolean(true)}, {"HideDock", boolean(true)}}));
    EXPECT_TRUE(sim::objectsEqual(before, gCVDock.getDictionary()));
    EXPECT_EQ(gCVDock.getValue("hideEverything"_ns), nil);
    EXPECT_EQ(gCVDock.getValue(nullptr), nil);
    gCVIcons.load(dict({{"hiddenIcons", list({text("com.example.one")})}}));
    EXPECT_EQ(gCVIcons.getValue("pages"_ns), nil);
    EXPECT_EQ(gCVIcons.getValue("hiddenIcons"_ns), nil);
    EXPECT_EQ(gCVIcons.pages.getValue("coverflow"_ns), nil);
    EXPECT_EQ(gCVStatusBar.getValue("itemIsHidden"_ns), nil);
}

TEST_F(Loading, StringsAreOwnedCopiesAndGetValueAnswersTheStoredOne)
{
    EXPECT_EQ(gCVStatusBar.getValue("timeString"_ns), nil);
    NSMutableString *edited = NSMutableString::string();
    edited->setString("HH:mm"_ns);
    gCVStatusBar.load(dict({{"timeString", edited}}));
    edited->setString("changed afterwards"_ns);
    ASSERT_NE(gCVStatusBar.timeString, nullptr);
    EXPECT_EQ(gCVStatusBar.timeString->str(), "HH:mm");
    EXPECT_TRUE(sim::objectsEqual(gCVStatusBar.getValue("timeString"_ns), "HH:mm"_ns));
    gCVStatusBar.setDefaults();
    EXPECT_EQ(gCVStatusBar.timeString, nullptr);
}

TEST_F(Loading, ChangeCallbacksAreClearedByEveryReset)
{
    auto callback = [] {};
    gCVIcons.changeCallback = callback;
    gCVDock.changeCallback = callback;
    gCVStatusBar.changeCallback = callback;
    gCVDock.setDefaults();
    EXPECT_EQ(gCVDock.changeCallback, nullptr);
    gCVIcons.setBasicDefaults();
    EXPECT_EQ(gCVIcons.changeCallback, nullptr);
    CVLoadSettings();
    EXPECT_EQ(gCVStatusBar.changeCallback, nullptr);
}

using Icons = SettingsTest;

// Hiding Corvane adds its own application once, a loaded list still carries it, and
// showing it again takes it out.
TEST_F(Icons, HideCorvaneAddsAndRemovesTheSystemsOwnApplication)
{
    gCVIcons.load(dict({{"hideCorvane", boolean(true)}}));
    gCVIcons.load(dict({{"hideCorvane", boolean(true)}}));
    EXPECT_EQ(hiddenIcons(), std::vector<std::string>{kCorvaneApplication});
    gCVIcons.load(dict({{"hiddenIcons", list({text("com.example.mail")})}}));
    EXPECT_EQ(hiddenIcons(), (std::vector<std::string>{"com.example.mail", kCorvaneApplication}));
    auto *written =
        static_cast<NSArray *>(gCVIcons.getDictionary()->objectForKey("hiddenIcons"_ns));
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->count(), 2u);
    gCVIcons.load(dict({{"hideCorvane", boolean(false)}}));
    EXPECT_EQ(hiddenIcons(), std::vector<std::string>{"com.example.mail"});
    EXPECT_EQ(written->count(), 2u) << "the file got a copy, not the live list";
}

TEST_F(Icons, HiddenIconsLoseTheirDuplicatesOnEveryLoad)
{
    gCVIcons.load(dict({{"hiddenIcons", list({text("a"), text("a"), text("b")})}}));
    EXPECT_EQ(hiddenIcons(), (std::vector<std::string>{"a", "b"}));

    // Duplicates that got in some other way go at the next load, whatever it holds.
    CFArrayAppendValue(gCVIcons.hiddenIcons, "b"_ns);
    gCVIcons.load(dict({{"hideBadges", boolean(false)}}));
    EXPECT_EQ(hiddenIcons(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(Icons, BasicDefaultsLeaveTheThreeIconListsAlone)
{
    gCVIcons.load(dict({{"hideBadges", boolean(true)},
                        {"hiddenIcons", list({text("x")})},
                        {"pages", dict({{"iconColumns", integer(5)}})},
                        {"folders", dict({{"coverflow", dict({{"enabled", boolean(true)}})}})}}));
    gCVIcons.setBasicDefaults();
    EXPECT_FALSE(gCVIcons.hideBadges);
    EXPECT_TRUE(hiddenIcons().empty());
    EXPECT_EQ(gCVIcons.pages.iconColumns, 5);
    EXPECT_TRUE(gCVIcons.folders.coverflow.enabled);
    gCVIcons.setDefaults();
    EXPECT_EQ(gCVIcons.pages.iconColumns, 0);
    EXPECT_FALSE(gCVIcons.folders.coverflow.enabled);
}

using StatusBar = SettingsTest;

TEST_F(StatusBar, FlagsAreLoadedAndWrittenOnlyAsTheNestedDictionary)
{
    gCVStatusBar.load(dict({{"itemIsHidden", dict({{"time", boolean(true)},
                                                   {"blackSquare", boolean(true)},
                                                   {"notAnItem", boolean(true)}})},
                            {"vpn", boolean(true)}}));
    for (int index = 0; index < CVStatusBarItemCount; ++index)
        EXPECT_EQ(gCVStatusBar.itemIsHidden[index], index == 0 || index == 24) << index;
    EXPECT_TRUE(isNumber(gCVStatusBar.getValue("blackSquare"_ns), Kind::Bool, 1));
    EXPECT_TRUE(isNumber(gCVStatusBar.getValue("vpn"_ns), Kind::Bool, 0));

    auto *written =
        static_cast<NSDictionary *>(gCVStatusBar.getDictionary()->objectForKey("itemIsHidden"_ns));
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->count(), 25u);
    EXPECT_TRUE(isNumber(written->objectForKey("blackSquare"_ns), Kind::Bool, 1));
    EXPECT_TRUE(isNumber(written->objectForKey("unknown2"_ns), Kind::Bool, 0));
}

TEST_F(StatusBar, TheItemTableIsFilledOnlyOnRecognisedSystems)
{
    const std::pair<double, bool> versions[] = {{847.2, true},    {1141.16, true},
                                                {1348.0, true},   {847.19, false},
                                                {1141.15, false}, {1240.09, false}};
    for (const auto &[version, recognised] : versions) {
        SCOPED_TRACE(version);
        gCVStatusBar.items = {};
        kCFCoreFoundationVersionNumber = version;
        sim::LogCapture log;
        gCVStatusBar.setDefaults();
        char error[96];
        std::snprintf(error, sizeof(error),
                      "[Corvane][ERROR]: Couldn't find CVStatusBarItems configuration for %.8f!",
                      version);
        EXPECT_EQ(log.lines(),
                  recognised ? std::vector<std::string>{} : std::vector<std::string>{error});
        for (int position = 0; position < CVStatusBarItemCount; ++position)
            EXPECT_EQ(gCVStatusBar.items.index[position], recognised ? position : 0);
    }
}

// A fresh process on a system whose item numbering is unknown: each name keeps its own
// flag, so a change to one item neither shows on another nor overwrites the rest when
// the section is written back.
TEST_F(StatusBar, OnAnUnknownSystemEachNameKeepsItsOwnFlag)
{
    gCVStatusBar.items = {};
    kCFCoreFoundationVersionNumber = 847.24;
    sim::LogCapture log;
    gCVStatusBar.setDefaults();
    gCVStatusBar.load(
        dict({{"itemIsHidden", dict({{"alarm", boolean(true)}, {"location", boolean(true)}})}}));
    gCVStatusBar.load(dict({{"itemIsHidden", dict({{"vpn", boolean(true)}})}}));
    EXPECT_TRUE(isNumber(gCVStatusBar.getValue("vpn"_ns), Kind::Bool, 1));
    EXPECT_TRUE(isNumber(gCVStatusBar.getValue("time"_ns), Kind::Bool, 0));

    auto *written =
        static_cast<NSDictionary *>(gCVStatusBar.getDictionary()->objectForKey("itemIsHidden"_ns));
    ASSERT_NE(written, nullptr);
    for (int position = 0; position < CVStatusBarItemCount; ++position) {
        const char *name = CVStatusBarItems::names[position];
        bool hidden = std::strcmp(name, "vpn") == 0 || std::strcmp(name, "alarm") == 0 ||
                      std::strcmp(name, "location") == 0;
        EXPECT_TRUE(isNumber(written->objectForKey(text(name)), Kind::Bool, hidden)) << name;
    }
}

using LockScreen = SettingsTest;

// A text is stored only when its UTF-8 bytes fit the field with their terminator;
// otherwise the field keeps what it held. Bytes that are not text are written as "".
TEST_F(LockScreen, ATextIsStoredOnlyWhenItsBytesFitWithTheTerminator)
{
    gCVLockScreen.load(dict({{"timeText", text("ELEVEN_CHAR")}})); // 11 + NUL = 12
    gCVLockScreen.load(dict({{"timeText", text("TWELVE_CHARS")}}));
    EXPECT_STREQ(gCVLockScreen.timeText, "ELEVEN_CHAR");
    EXPECT_TRUE(sim::objectsEqual(gCVLockScreen.getValue("timeText"_ns), "ELEVEN_CHAR"_ns));

    // "\u00e9" takes two bytes: seven of them are 14 bytes and fit dateText[15]; eight do not.
    std::string seven;
    for (int count = 0; count < 7; ++count)
        seven += "\xC3\xA9";
    gCVLockScreen.load(dict({{"dateText", text(seven.c_str())}}));
    gCVLockScreen.load(dict({{"dateText", text((seven + "\xC3\xA9").c_str())}}));
    EXPECT_EQ(std::string(gCVLockScreen.dateText), seven);

    std::fill(std::begin(gCVLockScreen.sliderText), std::end(gCVLockScreen.sliderText), '\xFF');
    EXPECT_TRUE(sim::objectsEqual(gCVLockScreen.getValue("sliderText"_ns), ""_ns));
}

} // namespace
