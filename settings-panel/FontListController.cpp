// FontListController: the font chooser. Its first entry, without a name, stands for the
// system font; then every font of every family the system has, each shown in its own
// face under a readable name ("HelveticaNeue-BoldItalic" as "Helvetica Neue Bold
// Italic"). The delegate (the row's "CV3FontControllerDelegate") says which font is
// selected and stores a new choice.

#include "foundation/NSArray.h"
#include "preferences/PSViewController.h"
#include "settings-panel/CVChooserTable.h"
#include "settings-panel/NSString+Camel.h"
#include "settings-panel/SectionListController.h"
#include "uikit/UIFont.h"

namespace {

struct FontListController : PSViewController {
    CVChooserEntries m_entries;
    bool m_entriesLoaded = false;
    NSInteger m_currentRow = -1;
};

Class g_class;

NSString *readableName(NSString *fontName)
{
    std::string compact = fontName->str();
    std::erase(compact, '-');
    return CVCamelCaseToSpaced(NSString::stringWithString(compact));
}

const CVChooserEntries &entries(FontListController *self)
{
    if (self->m_entriesLoaded)
        return self->m_entries;
    self->m_entriesLoaded = true;
    self->m_entries.push_back({""_ns, ""_ns});
    auto *families = msg<NSArray *>(UIFont::class_(), "familyNames"_sel);
    for (const StrongRef<objc_object> &family : *families) {
        auto *names = msg<NSArray *>(UIFont::class_(), "fontNamesForFamilyName:"_sel, family.get());
        for (const StrongRef<objc_object> &name : *names) {
            auto *fontName = static_cast<NSString *>(name.get());
            self->m_entries.push_back({fontName, readableName(fontName)});
        }
    }
    CVSortByTitle(self->m_entries);
    return self->m_entries;
}

id delegateOf(FontListController *self)
{
    return CVEditorDelegate(self, CVFontControllerDelegateKey());
}

NSArray *fontEntries(FontListController *self, SEL)
{
    return CVEntriesArray(entries(self));
}

void loadView(FontListController *self, SEL)
{
    CVLoadChooserTable(self);
}

NSInteger numberOfSections(FontListController *, SEL, UITableView *)
{
    return 1;
}

NSInteger numberOfRows(FontListController *self, SEL, UITableView *, NSInteger)
{
    return static_cast<NSInteger>(entries(self).size());
}

UITableViewCell *cellForRow(FontListController *self, SEL, UITableView *table, NSIndexPath *path)
{
    const CVChooserEntry &entry = entries(self).at(static_cast<std::size_t>(path->row()));
    UITableViewCell *cell = CVChooserCell(table, "CV3FontControllerCellID"_ns, entry.title);
    id label = msg<id>(cell, "textLabel"_sel);
    CGFloat size = msg<CGFloat>(msg<id>(label, "font"_sel), "pointSize"_sel);
    if (entry.identifier->length() > 0)
        if (id font = msg<id, NSString *, CGFloat>(UIFont::class_(), "fontWithName:size:"_sel,
                                                   entry.identifier.get(), size))
            msg<void>(label, "setFont:"_sel, font);
    bool selected = msg<BOOL>(delegateOf(self), "fontController:fontIsSelected:"_sel,
                              static_cast<id>(self), entry.identifier.get());
    CVSetChecked(cell, selected);
    if (selected)
        self->m_currentRow = path->row();
    return cell;
}

void checkRow(UITableView *table, NSInteger row, bool checked)
{
    NSIndexPath *path = NSIndexPath::indexPathForRowInSection(row, 0);
    if (auto *cell = msg<UITableViewCell *>(table, "cellForRowAtIndexPath:"_sel, path))
        CVSetChecked(cell, checked);
}

void didSelectRow(FontListController *self, SEL, UITableView *table, NSIndexPath *path)
{
    msg<void, NSIndexPath *, BOOL>(table, "deselectRowAtIndexPath:animated:"_sel, path, YES);
    NSInteger row = path->row();
    if (row == self->m_currentRow)
        return;
    if (self->m_currentRow >= 0)
        checkRow(table, self->m_currentRow, false);
    checkRow(table, row, true);
    self->m_currentRow = row;
    const CVChooserEntry &entry = entries(self).at(static_cast<std::size_t>(row));
    msg<void>(delegateOf(self), "fontController:didSelectFont:"_sel, static_cast<id>(self),
              entry.identifier.get());
}

const Class kRegistered = [] {
    g_class = ClassBuilder<FontListController>("FontListController", "PSViewController")
                  .method("fontEntries", fontEntries)
                  .method("loadView", loadView)
                  .method("numberOfSectionsInTableView:", numberOfSections)
                  .method("tableView:numberOfRowsInSection:", numberOfRows)
                  .method("tableView:cellForRowAtIndexPath:", cellForRow)
                  .method("tableView:didSelectRowAtIndexPath:", didSelectRow)
                  .registerClass();
    return g_class;
}();

} // namespace
