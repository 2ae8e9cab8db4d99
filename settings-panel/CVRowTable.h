#pragma once
// Rows as data. A page describes its rows as one table, in the order the user sees them:
//
//     const CVRow kRows[] = {
//         CVGroup(nullptr, "Modify the duration of the animations of the whole OS."),
//         CVSwitch("Custom Speed", "customSpeed"),
//         CVSlider(nullptr, "animationSpeed", 0.3, 3.0),
//         CVGroup("Lock Animation", "Select an animation ...").when(CVIsNotPad),
//         CVList("Animation", "lockAnimationType", kLockAnimations).when(CVIsNotPad),
//     };
//
// and CVSpecifiersForRows turns the table into specifiers through the page's own row
// builders (switchSpecifierWithTitle:key: and its siblings), leaving out every row whose
// condition does not hold at that moment. Conditions read the device and the settings
// model, so a page that rebuilds its rows after a choice shows the rows of that choice.
//
// Titles, footers and placeholders are the English texts; the builders localise them.

#include "foundation/NSArray.h"

#include <span>

struct SectionListController;

// One entry of a list row: the stored value and the title the user picks.
struct CVChoice {
    int value;
    const char *title;
};

// The values and titles of a list row computed at run time, both autoreleased.
struct CVChoices {
    NSArray *values;
    NSArray *titles;
};
using CVChoicesMaker = CVChoices (*)();

using CVRowCondition = bool (*)();

enum class CVRowKind { Group, Switch, List, Slider, Text, Color, Font, Apps };

struct CVRow {
    CVRowKind kind;
    const char *title; // nullptr: none
    const char *key;   // the settings key; a group's footer
    std::span<const CVChoice> choices{};
    CVChoicesMaker makeChoices = nullptr;
    double minimum = 0;
    double maximum = 0;
    const char *placeholder = nullptr;
    CVRowCondition condition = nullptr;

    constexpr CVRow when(CVRowCondition holds) const
    {
        CVRow row = *this;
        row.condition = holds;
        return row;
    }
};

constexpr CVRow CVGroup(const char *title, const char *footer = nullptr)
{
    return {CVRowKind::Group, title, footer};
}

constexpr CVRow CVSwitch(const char *title, const char *key)
{
    return {CVRowKind::Switch, title, key};
}

constexpr CVRow CVList(const char *title, const char *key, std::span<const CVChoice> choices)
{
    return {CVRowKind::List, title, key, choices};
}

constexpr CVRow CVList(const char *title, const char *key, CVChoicesMaker makeChoices)
{
    return {CVRowKind::List, title, key, {}, makeChoices};
}

// Sliders show their value.
constexpr CVRow CVSlider(const char *title, const char *key, double minimum, double maximum)
{
    return {CVRowKind::Slider, title, key, {}, nullptr, minimum, maximum};
}

constexpr CVRow CVText(const char *placeholder, const char *key)
{
    return {CVRowKind::Text, nullptr, key, {}, nullptr, 0, 0, placeholder};
}

// Links to the colour, font and application editors, with the page as their delegate.
constexpr CVRow CVColorLink(const char *title, const char *key)
{
    return {CVRowKind::Color, title, key};
}

constexpr CVRow CVFontLink(const char *title, const char *key)
{
    return {CVRowKind::Font, title, key};
}

constexpr CVRow CVAppsLink(const char *title, const char *key)
{
    return {CVRowKind::Apps, title, key};
}

// The specifiers of the rows whose condition holds, in table order; autoreleased.
NSMutableArray *CVSpecifiersForRows(SectionListController *page, std::span<const CVRow> rows);

// Conditions that several pages share.
bool CVIsPad();
bool CVIsNotPad();
// The system generation with the newer Spotlight and status bar (Core Foundation 1240.1
// and later).
bool CVIsNinthGeneration();
bool CVIsBeforeNinthGeneration();
