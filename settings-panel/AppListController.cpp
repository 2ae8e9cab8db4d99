// AppListController: the application chooser for hidden icons. Its entries are the
// applications SpringBoard reports and, beside them, every identifier already in the
// selection (an application hidden before may no longer be reported, and must stay
// selectable to be shown again), each under its localised name and with its icon;
// identifiers without a name are left out. The delegate (the row's
// "CV3AppsListControllerDelegate") says what is selected and toggles an identifier.

#include "preferences/PSViewController.h"
#include "settings-panel/CVChooserTable.h"
#include "settings-panel/SectionListController.h"
#include "springboardservices/SpringBoardServices.h"
#include "uikit/UIImage.h"

#include <set>
#include <string>

namespace {

struct AppListController : PSViewController {
    CVChooserEntries m_entries;
    bool m_entriesLoaded = false;
};

Class g_class;

id delegateOf(AppListController *self)
{
    return CVEditorDelegate(self, CVAppsListControllerDelegateKey());
}

// The identifiers SpringBoard reports, then the selected ones it does not, each once.
std::vector<StrongRef<NSString>> candidateIdentifiers()
{
    std::vector<StrongRef<NSString>> identifiers;
    std::set<std::string> seen;
    auto add = [&](id identifier) {
        auto *text = static_cast<NSString *>(identifier);
        if (text && seen.insert(text->str()).second)
            identifiers.emplace_back(text);
    };
    if (CFArrayRef reported = SBSCopyApplicationDisplayIdentifiers(false, false)) {
        for (const StrongRef<objc_object> &identifier : *reported)
            add(identifier.get());
        CFRelease(reported);
    }
    for (const StrongRef<objc_object> &identifier : *gCVIcons.hiddenIcons)
        add(identifier.get());
    return identifiers;
}

const CVChooserEntries &entries(AppListController *self)
{
    if (self->m_entriesLoaded)
        return self->m_entries;
    self->m_entriesLoaded = true;
    self->m_entries.push_back({""_ns, ""_ns});
    for (const StrongRef<NSString> &identifier : candidateIdentifiers()) {
        CFStringRef name = SBSCopyLocalizedApplicationNameForDisplayIdentifier(identifier.get());
        if (!name)
            continue;
        self->m_entries.push_back({identifier, name});
        CFRelease(name);
    }
    CVSortByTitle(self->m_entries);
    return self->m_entries;
}

NSArray *applicationEntries(AppListController *self, SEL)
{
    return CVEntriesArray(entries(self));
}

UIImage *iconForIdentifier(AppListController *, SEL, NSString *identifier)
{
    if (!identifier || identifier->length() == 0)
        return nil;
    CFDataRef data = SBSCopyIconImagePNGDataForDisplayIdentifier(identifier);
    if (!data)
        return nil;
    UIImage *icon = msg<UIImage *>(UIImage::class_(), "imageWithData:"_sel, data);
    CFRelease(data);
    return icon;
}

void loadView(AppListController *self, SEL)
{
    CVLoadChooserTable(self);
}

NSInteger numberOfSections(AppListController *, SEL, UITableView *)
{
    return 1;
}

NSInteger numberOfRows(AppListController *self, SEL, UITableView *, NSInteger)
{
    return static_cast<NSInteger>(entries(self).size());
}

bool isSelected(AppListController *self, NSString *identifier)
{
    return msg<BOOL>(delegateOf(self), "appListController:isSelected:"_sel, static_cast<id>(self),
                     identifier);
}

UITableViewCell *cellForRow(AppListController *self, SEL, UITableView *table, NSIndexPath *path)
{
    const CVChooserEntry &entry = entries(self).at(static_cast<std::size_t>(path->row()));
    UITableViewCell *cell = CVChooserCell(table, "CV3AppsListControllerCellID"_ns, entry.title);
    msg<void>(msg<id>(cell, "imageView"_sel), "setImage:"_sel,
              msg<UIImage *>(self, "iconForIdentifier:"_sel, entry.identifier.get()));
    CVSetChecked(cell, isSelected(self, entry.identifier));
    return cell;
}

void didSelectRow(AppListController *self, SEL, UITableView *table, NSIndexPath *path)
{
    const CVChooserEntry &entry = entries(self).at(static_cast<std::size_t>(path->row()));
    msg<void>(delegateOf(self), "appListController:toggle:"_sel, static_cast<id>(self),
              entry.identifier.get());
    msg<void, NSIndexPath *, BOOL>(table, "deselectRowAtIndexPath:animated:"_sel, path, YES);
    if (auto *cell = msg<UITableViewCell *>(table, "cellForRowAtIndexPath:"_sel, path))
        CVSetChecked(cell, isSelected(self, entry.identifier));
}

const Class kRegistered = [] {
    g_class = ClassBuilder<AppListController>("AppListController", "PSViewController")
                  .method("applicationEntries", applicationEntries)
                  .method("iconForIdentifier:", iconForIdentifier)
                  .method("loadView", loadView)
                  .method("numberOfSectionsInTableView:", numberOfSections)
                  .method("tableView:numberOfRowsInSection:", numberOfRows)
                  .method("tableView:cellForRowAtIndexPath:", cellForRow)
                  .method("tableView:didSelectRowAtIndexPath:", didSelectRow)
                  .registerClass();
    return g_class;
}();

} // namespace
