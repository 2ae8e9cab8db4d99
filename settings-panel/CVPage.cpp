#include "settings-panel/CVPage.h"

#include "foundation/NSNotificationCenter.h"

#include <algorithm>
#include <cstring>

namespace {

bool listed(std::span<const char *const> keys, NSString *key)
{
    return key && std::ranges::any_of(keys, [key](const char *listedKey) {
               return std::strcmp(listedKey, key->UTF8String()) == 0;
           });
}

bool routesToIconList(const CVPage &page, NSString *key)
{
    return page.iconList && page.iconList->route.routesKey(key);
}

NSArray *iconListBlock(SectionListController *self, const CVIconListBlock &block)
{
    return msg<NSArray *, NSString *, NSString *, BOOL>(
        self, "iconListSpecifiersForFooter:labelsFooter:isDock:"_sel,
        NSString::stringWithUTF8String(block.resizeFooter),
        NSString::stringWithUTF8String(block.labelsFooter), block.isDock);
}

} // namespace

NSArray *CVPageSpecifiers(SectionListController *self, const CVPage &page)
{
    if (!self->m_specifiers) {
        NSMutableArray *rows = CVSpecifiersForRows(self, page.rows);
        if (page.iconList)
            for (const StrongRef<objc_object> &row : *iconListBlock(self, *page.iconList))
                rows->addObject(row.get());
        if (page.appendRows)
            page.appendRows(self, rows);
        self->m_specifiers = rows;
    }
    return self->m_specifiers;
}

id CVPageRead(const CVPage &page, NSString *key)
{
    return page.read ? page.read(page, key) : CVReadPageValue(page, key);
}

void CVPageWrite(SectionListController *self, const CVPage &page, NSString *key, id value)
{
    if (page.write)
        page.write(self, page, key, value);
    else
        CVWritePageValue(self, page, key, value);
}

void CVPageReset(SectionListController *self, const CVPage &page)
{
    if (page.reset)
        page.reset(self, page);
    else
        CVResetPage(self, page);
}

id CVReadPageValue(const CVPage &page, NSString *key)
{
    if (routesToIconList(page, key))
        return CVReadIconListValue(page.iconList->route, key);
    return page.section->getValue(key);
}

void CVWritePageValue(SectionListController *self, const CVPage &page, NSString *key, id value)
{
    if (routesToIconList(page, key))
        CVWriteIconListValue(self, page.iconList->route, key, value);
    else
        CVCommit(self, page.sectionID, CVLoadValue(page.section, key, value));
    CVAfterPageChange(self, page, key);
}

void CVResetPage(SectionListController *self, const CVPage &page)
{
    page.section->setDefaults();
    CVCommitWholeSection(self, page.section, page.sectionID);
    msg<void>(self, "reloadSpecifiers"_sel);
}

void CVAfterPageChange(SectionListController *self, const CVPage &page, NSString *key)
{
    if (listed(page.reloadKeys, key))
        msg<void>(self, "reloadSpecifiers"_sel);
    if (listed(page.restartKeys, key))
        CVPostSettingsChanged();
}

NSDictionary *CVLoadValue(CVSettingsEntity *section, NSString *key, id value)
{
    NSDictionary *changes = NSDictionary::dictionaryWithObjectsForKeys({{key, value}});
    section->load(changes);
    return changes;
}

void CVCommitWholeSection(SectionListController *self, CVSettingsEntity *section,
                          CVSectionID sectionID)
{
    CVCommit(self, sectionID, section->getDictionary());
}

void CVCommit(SectionListController *self, CVSectionID sectionID, NSDictionary *changes)
{
    msg<void>(self, "commitSection:changes:"_sel, sectionID, changes);
}

NSString *CVRowKey(PSSpecifier *row)
{
    return static_cast<NSString *>(row->propertyForKey("id"_ns));
}

void CVPostSettingsChanged()
{
    NSNotificationCenter::defaultCenter()->postNotificationNameObject(
        "CV3ShowSettingsChangedNotification"_ns, nil);
}
