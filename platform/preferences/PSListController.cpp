#include "preferences/PSListController.h"

#include "foundation/NSNumber.h"
#include "preferences/PSListItemsController.h"
#include "preferences/PSTableCell.h"
#include "uikit/UIScreen.h"

namespace {

bool answers(id object, SEL selector)
{
    return msg<BOOL, SEL>(object, "respondsToSelector:"_sel, selector);
}

PSListController::Section *sectionAt(PSListController *self, NSInteger index)
{
    if (index < 0 || index >= static_cast<NSInteger>(self->m_sections.size()))
        return nullptr;
    return &self->m_sections[index];
}

// Groups begin sections; rows before the first group form one without a header.
void buildSections(PSListController *self)
{
    self->m_shownSpecifiers = msg<NSArray *>(self, "specifiers"_sel);
    self->m_sections.clear();
    if (!self->m_shownSpecifiers)
        return;
    for (id object : *self->m_shownSpecifiers) {
        auto *specifier = static_cast<PSSpecifier *>(object);
        if (specifier->m_cellType == PSGroupCell)
            self->m_sections.push_back({specifier, {}});
        else if (self->m_sections.empty())
            self->m_sections.push_back({nil, {specifier}});
        else
            self->m_sections.back().rows.push_back(specifier);
    }
}

// Whether the page's class builds its own rows, rather than only filling the cache.
bool overridesSpecifiers(PSListController *self)
{
    static IMP base = class_getMethodImplementation(PSListController::class_(), "specifiers"_sel);
    return class_getMethodImplementation(object_getClass(self), "specifiers"_sel) != base;
}

PSTableCell *makeCell(UITableView *table, PSSpecifier *specifier)
{
    NSInteger type = specifier->m_cellType;
    NSString *reuseIdentifier = PSTableCell::reuseIdentifierForType(type);
    auto *cell = msg<PSTableCell *, NSString *>(table, "dequeueReusableCellWithIdentifier:"_sel,
                                                reuseIdentifier);
    if (cell)
        return cell;
    cell = msg<PSTableCell *, UITableViewCellStyle, NSString *, PSSpecifier *>(
        msg<id>(PSTableCell::cellClassForType(type), "alloc"_sel),
        "initWithStyle:reuseIdentifier:specifier:"_sel, PSTableCell::cellStyleForType(type),
        reuseIdentifier, specifier);
    return autorelease(cell);
}

id valueOf(PSSpecifier *specifier)
{
    if (!specifier->m_target || !specifier->m_getter)
        return nil;
    return msg<id, PSSpecifier *>(specifier->m_target, specifier->m_getter, specifier);
}

// A list row without a page of its own opens the list of its choices.
Class detailClassOf(PSSpecifier *specifier)
{
    if (specifier->m_detailControllerClass)
        return specifier->m_detailControllerClass;
    return specifier->m_cellType == PSLinkListCell ? PSListItemsController::class_() : Nil;
}

// Makes the page a row opens and pushes it on this page's navigation controller.
void openDetail(PSListController *self, PSSpecifier *specifier, Class cls)
{
    id page = msg<id>(cls, "alloc"_sel);
    if (class_respondsToSelector(cls, "initForContentSize:"_sel))
        page = msg<id, CGSize>(page, "initForContentSize:"_sel,
                               msg<UIView *>(self, "view"_sel)->bounds().size);
    else
        page = msg<id>(page, "init"_sel);
    StrongRef<objc_object> owned = StrongRef<objc_object>::adopt(page);
    if (answers(page, "setRootController:"_sel))
        msg<void, id>(page, "setRootController:"_sel, msg<id>(self, "rootController"_sel));
    if (answers(page, "setParentController:"_sel))
        msg<void, id>(page, "setParentController:"_sel, self);
    if (answers(page, "setSpecifier:"_sel))
        msg<void, PSSpecifier *>(page, "setSpecifier:"_sel, specifier);
    id navigation = msg<id>(self, "navigationController"_sel);
    if (!navigation)
        navigation = msg<id>(self, "rootController"_sel);
    msg<void, id, BOOL>(navigation, "pushViewController:animated:"_sel, page, YES);
}

namespace imp {

// The page's view is its table.
void loadView(PSListController *self, SEL)
{
    auto *table = msg<UITableView *, CGRect, UITableViewStyle>(
        msg<id>(UITableView::class_(), "alloc"_sel), "initWithFrame:style:"_sel,
        UIScreen::mainScreen()->bounds(), UITableViewStyleGrouped);
    self->m_table = StrongRef<UITableView>::adopt(table);
    msg<void, id>(table, "setDataSource:"_sel, self);
    msg<void, id>(table, "setDelegate:"_sel, self);
    self->m_view = table;
}

UITableView *table(PSListController *self, SEL)
{
    msg<UIView *>(self, "view"_sel);
    return self->m_table;
}

void setSpecifiers(PSListController *self, SEL, NSArray *specifiers)
{
    self->m_specifiers = specifiers;
    msg<void>(self->m_table, "reloadData"_sel);
}

void reloadSpecifiers(PSListController *self, SEL)
{
    if (overridesSpecifiers(self))
        self->m_specifiers = nil;
    msg<void>(self->m_table, "reloadData"_sel);
}

// Shows the row's present value again.
void reloadSpecifier(PSListController *self, SEL, PSSpecifier *specifier)
{
    NSIndexPath *path = self->indexPathOf(specifier);
    auto *cell =
        msg<PSTableCell *, NSIndexPath *>(self->m_table, "cellForRowAtIndexPath:"_sel, path);
    msg<void, id>(cell, "setValue:"_sel, valueOf(specifier));
}

PSSpecifier *specifierForID(PSListController *self, SEL, NSString *identifier)
{
    NSArray *rows = msg<NSArray *>(self, "specifiers"_sel);
    if (!rows || !identifier)
        return nil;
    for (id object : *rows) {
        auto *specifier = static_cast<PSSpecifier *>(object);
        if (sim::objectsEqual(specifier->identifier(), identifier))
            return specifier;
    }
    return nil;
}

id readPreferenceValue(PSListController *, SEL, PSSpecifier *specifier)
{
    return specifier ? specifier->propertyForKey("default"_ns) : nil;
}

void setPreferenceValueSpecifier(PSListController *, SEL, id, PSSpecifier *) {}

NSInteger numberOfSectionsInTableView(PSListController *self, SEL, UITableView *)
{
    buildSections(self);
    return self->m_sections.size();
}

NSInteger numberOfRowsInSection(PSListController *self, SEL, UITableView *, NSInteger index)
{
    auto *section = sectionAt(self, index);
    return section ? section->rows.size() : 0;
}

NSString *titleForHeaderInSection(PSListController *self, SEL, UITableView *, NSInteger index)
{
    auto *section = sectionAt(self, index);
    return section && section->group ? section->group->m_name.get() : nil;
}

NSString *titleForFooterInSection(PSListController *self, SEL, UITableView *, NSInteger index)
{
    auto *section = sectionAt(self, index);
    if (!section || !section->group)
        return nil;
    id footer = section->group->propertyForKey("footerText"_ns);
    return footer && msg<BOOL>(footer, "isKindOfClass:"_sel, NSString::class_())
               ? static_cast<NSString *>(footer)
               : nil;
}

// A group's "alignment" aligns its footer.
void willDisplayFooterView(PSListController *self, SEL, UITableView *, UIView *view,
                           NSInteger index)
{
    auto *section = sectionAt(self, index);
    id alignment = section && section->group ? section->group->propertyForKey("alignment"_ns) : nil;
    if (alignment && msg<BOOL>(alignment, "isKindOfClass:"_sel, NSNumber::class_()) &&
        msg<BOOL>(view, "isKindOfClass:"_sel, UILabel::class_()))
        msg<void, NSTextAlignment>(
            view, "setTextAlignment:"_sel,
            static_cast<NSTextAlignment>(static_cast<NSNumber *>(alignment)->integerValue()));
}

UITableViewCell *cellForRowAtIndexPath(PSListController *self, SEL, UITableView *table,
                                       NSIndexPath *path)
{
    PSSpecifier *specifier = self->specifierAt(path);
    if (!specifier)
        return nil;
    PSTableCell *cell = makeCell(table, specifier);
    msg<void, PSSpecifier *>(cell, "setSpecifier:"_sel, specifier);
    msg<void, id>(cell, "setValue:"_sel, valueOf(specifier));
    return cell;
}

void didSelectRowAtIndexPath(PSListController *self, SEL, UITableView *table, NSIndexPath *path)
{
    PSSpecifier *specifier = self->specifierAt(path);
    msg<void, NSIndexPath *, BOOL>(table, "deselectRowAtIndexPath:animated:"_sel, path, YES);
    if (!specifier)
        return;
    if (Class cls = detailClassOf(specifier))
        openDetail(self, specifier, cls);
}

} // namespace imp

const Class kRegistered = PSListController::class_();

} // namespace

Class PSListController::class_()
{
    static const Class cls = [] {
        PSViewController::class_();
        Class cls =
            ClassBuilder<PSListController>("PSListController", "PSViewController")
                .method("loadView", imp::loadView)
                .method("table", imp::table)
                .getter<&PSListController::m_specifiers>("specifiers")
                .method("setSpecifiers:", imp::setSpecifiers)
                .method("reloadSpecifiers", imp::reloadSpecifiers)
                .method("reloadSpecifier:", imp::reloadSpecifier)
                .method("specifierForID:", imp::specifierForID)
                .method("readPreferenceValue:", imp::readPreferenceValue)
                .method("setPreferenceValue:specifier:", imp::setPreferenceValueSpecifier)
                .method("numberOfSectionsInTableView:", imp::numberOfSectionsInTableView)
                .method("tableView:numberOfRowsInSection:", imp::numberOfRowsInSection)
                .method("tableView:titleForHeaderInSection:", imp::titleForHeaderInSection)
                .method("tableView:titleForFooterInSection:", imp::titleForFooterInSection)
                .method("tableView:willDisplayFooterView:forSection:", imp::willDisplayFooterView)
                .method("tableView:cellForRowAtIndexPath:", imp::cellForRowAtIndexPath)
                .method("tableView:didSelectRowAtIndexPath:", imp::didSelectRowAtIndexPath)
                .registerClass();
        static_assert(sizeof(StrongRef<NSArray>) == sizeof(NSArray *));
        // The owning fields read by name as objects ("@"): a StrongRef is laid out as the
        // bare pointer.
        sim::addIvarAt(cls, "_specifiers", "@", sim::memberOffset(&PSListController::m_specifiers));
        sim::addIvarAt(cls, "_table", "@", sim::memberOffset(&PSListController::m_table));
        return cls;
    }();
    return cls;
}

PSSpecifier *PSListController::specifierAt(NSIndexPath *path) const
{
    if (!path || path->m_section < 0 ||
        path->m_section >= static_cast<NSInteger>(m_sections.size()))
        return nil;
    const auto &rows = m_sections[path->m_section].rows;
    if (path->m_row < 0 || path->m_row >= static_cast<NSInteger>(rows.size()))
        return nil;
    return rows[path->m_row];
}

NSIndexPath *PSListController::indexPathOf(PSSpecifier *specifier) const
{
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        const auto &rows = m_sections[s].rows;
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (rows[r] == specifier)
                return NSIndexPath::indexPathForRowInSection(r, s);
    }
    return nil;
}
