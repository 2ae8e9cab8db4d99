#pragma once
// A section page described as data: its class name, the shared section instance it edits
// and the identifier it commits with, its bar tint, its row table, the choices after which
// its rows are built again, the options that only take effect after a restart, and,
// for the Dock, Folders and Pages pages, the icon-list entity its block of icon rows edits.
// CVRegisterPage<kPage>() registers the page class with the value path, reset and tint
// that follow from the description; a page with particulars supplies its own hooks.
//
// The value path: a row's key ("id") is read with getValue of the section; a new value is
// loaded as {key: value} into the section and committed with the page's identifier
// (commitSection:changes:, which saves the file and updates SpringBoard). Keys of the
// icon-list block are routed to the page's icon-list entity instead (CVIconListRoute.h).

#include "settings-panel/CVIconListRoute.h"
#include "settings-panel/CVRowTable.h"
#include "settings-panel/SectionListController.h"
#include "uikit/UIColor.h"

#include <span>

struct CVTint {
    CGFloat red, green, blue;
};

struct CVPage {
    const char *className;
    CVSettingsEntity *section;
    CVSectionID sectionID;
    CVTint tint;
    std::span<const CVRow> rows;
    // Choices that add or remove rows: the page rebuilds its rows after they change.
    std::span<const char *const> reloadKeys = {};
    // Options that SpringBoard only takes up when it starts: changing one offers a restart.
    std::span<const char *const> restartKeys = {};
    // The block of icon-list rows after the page's own rows, when the page has one.
    const CVIconListBlock *iconList = nullptr;

    // Rows built at run time after the table's (and the block's), when the page has some.
    void (*appendRows)(SectionListController *self, NSMutableArray *rows) = nullptr;

    // Hooks that replace the standard behaviour; each may call the standard function.
    id (*read)(const CVPage &page, NSString *key) = nullptr;
    void (*write)(SectionListController *self, const CVPage &page, NSString *key,
                  id value) = nullptr;
    void (*reset)(SectionListController *self, const CVPage &page) = nullptr;
    // Adds messages of the page's own (editor delegates) once the class is registered.
    void (*addMethods)(Class pageClass) = nullptr;
};

// The page's operations: its hook where it has one, else the standard operation.
id CVPageRead(const CVPage &page, NSString *key);
void CVPageWrite(SectionListController *self, const CVPage &page, NSString *key, id value);
void CVPageReset(SectionListController *self, const CVPage &page);

// The standard operations.
NSArray *CVPageSpecifiers(SectionListController *self, const CVPage &page);
id CVReadPageValue(const CVPage &page, NSString *key);
void CVWritePageValue(SectionListController *self, const CVPage &page, NSString *key, id value);
// setDefaults of the section, its whole dictionary committed, rows built again.
void CVResetPage(SectionListController *self, const CVPage &page);

// After a committed change of `key`: rebuilds the rows when the key is one of the page's
// reload keys, and offers a restart when it is one of its restart keys.
void CVAfterPageChange(SectionListController *self, const CVPage &page, NSString *key);

// Loads {key: value} into a section; the one-entry dictionary, autoreleased.
NSDictionary *CVLoadValue(CVSettingsEntity *section, NSString *key, id value);
// The whole section committed with its identifier.
void CVCommitWholeSection(SectionListController *self, CVSettingsEntity *section,
                          CVSectionID sectionID);
void CVCommit(SectionListController *self, CVSectionID sectionID, NSDictionary *changes);

// The row's settings key: its "id" property.
NSString *CVRowKey(PSSpecifier *row);

// Posts "CV3ShowSettingsChangedNotification", on which the root page offers a restart.
void CVPostSettingsChanged();

template <const CVPage &Page> class CVPageMethods {
public:
    static NSArray *specifiers(SectionListController *self, SEL)
    {
        return CVPageSpecifiers(self, Page);
    }

    static id read(SectionListController *, SEL, PSSpecifier *row)
    {
        return CVPageRead(Page, CVRowKey(row));
    }

    static void write(SectionListController *self, SEL, id value, PSSpecifier *row)
    {
        CVPageWrite(self, Page, CVRowKey(row), value);
    }

    static void reset(SectionListController *self, SEL) { CVPageReset(self, Page); }

    static UIColor *tintColor(SectionListController *, SEL)
    {
        return msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
            UIColor::class_(), "colorWithRed:green:blue:alpha:"_sel, Page.tint.red, Page.tint.green,
            Page.tint.blue, 1.0);
    }
};

template <const CVPage &Page> Class CVRegisterPage()
{
    using Methods = CVPageMethods<Page>;
    SectionListController::class_(); // the superclass first
    Class pageClass = ClassBuilder<SectionListController>(Page.className, "SectionListController")
                          .method("specifiers", Methods::specifiers)
                          .method("readPreferenceValue:", Methods::read)
                          .method("setPreferenceValue:specifier:", Methods::write)
                          .method("resetSection", Methods::reset)
                          .method("tintColor", Methods::tintColor)
                          .registerClass();
    if (pageClass && Page.addMethods)
        Page.addMethods(pageClass);
    return pageClass;
}
