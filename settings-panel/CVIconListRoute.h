#pragma once
// The icon-list block: the rows that the Dock, Folders and Pages pages share for their
// icon list (size, labels, columns and rows, paddings, inset, cover flow), and how their
// values reach the model. Block rows carry keys with a prefix that names what they edit:
// "CVIconListEntity.iconColumns" is "iconColumns" of the page's CVIconListEntity (the
// "pages", "dock" or "folders" member of gCVIcons), "CVCoverFlowSettings.perspective" is
// "perspective" of that entity's cover flow. A change is loaded into the entity (or its
// cover flow) and committed as part of the icons section (identifier 1), nested as the
// settings file nests it: {entity name: {key: value}} or
// {entity name: {"coverflow": {key: value}}}.

#include "foundation/NSString.h"
#include "settings-core/CVSettings.h"

struct SectionListController;

struct CVIconListRoute {
    CVIconListEntity *entity;
    const char *entityName; // "pages", "dock" or "folders"
    // Which keys of the page go to the entity rather than to the page's own section.
    bool (*routesKey)(NSString *key);
};

// A page's block: the route of its keys and the texts and form of its rows.
struct CVIconListBlock {
    CVIconListRoute route;
    const char *resizeFooter;
    const char *labelsFooter;
    bool isDock; // the dock form: one "Icons" count, no landscape counts or paddings
};

// Keys that name the entity or its cover flow (the Pages page's test).
bool CVKeyNamesIconList(NSString *key);
// Keys with a "." (the Dock and Folders pages' test: their own keys have none).
bool CVKeyIsDotted(NSString *key);

id CVReadIconListValue(const CVIconListRoute &route, NSString *key);
void CVWriteIconListValue(SectionListController *self, const CVIconListRoute &route, NSString *key,
                          id value);
