#pragma once
// Where the file's section names and the reload service's section identifiers lead: to
// the shared instances, and for live updates also to the section's changeCallback.

#include "settings-core/CVSettings.h"

#include <cstdint>
#include <span>

struct CVNamedSection {
    const char *name;
    CVSettingsEntity *section;
    bool written; // false for names that are only read ("CVUSettings")
};

// Every name the settings file may hold, in the order the applier compares them.
std::span<const CVNamedSection> CVNamedSections();

// The shared instance with that section name, or nullptr.
CVSettingsEntity *CVSectionNamed(CFStringRef name);

struct CVLiveSection {
    CVSettingsEntity *section;
    CVChangeCallback *changeCallback; // the section's field, read when the update is applied
};

// The section that a CVSectionID names; an empty entry for any other identifier.
CVLiveSection CVLiveSectionForID(std::uint32_t sectionID);
