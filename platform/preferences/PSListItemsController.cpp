#include "preferences/PSListItemsController.h"

#include "preferences/PSTableCell.h"

namespace {

// The opening row's present value, from its getter on its target.
id chosenValue(PSListItemsController *self)
{
    PSSpecifier *row = self->m_specifier;
    if (!row || !row->m_target || !row->m_getter)
        return nil;
    return msg<id, PSSpecifier *>(row->m_target, row->m_getter, row);
}

id valueOfItem(PSSpecifier *item)
{
    return item ? item->propertyForKey("value"_ns) : nil;
}

// One item row per value of the opening row, under an empty group, titled from its
// titleDictionary (a value without a title shows its description).
NSArray *makeItems(PSListItemsController *self)
{
    PSSpecifier *row = self->m_specifier;
    NSMutableArray *items = NSMutableArray::array();
    items->addObject(msg<PSSpecifier *>(PSSpecifier::class_(), "emptyGroupSpecifier"_sel));
    if (!row || !row->m_values)
        return items;
    for (id value : *row->m_values) {
        id title = row->m_titleDictionary ? row->m_titleDictionary->objectForKey(value) : nil;
        auto *item = msg<PSSpecifier *, NSString *, id, SEL, SEL, Class, NSInteger, Class>(
            PSSpecifier::class_(), "preferenceSpecifierNamed:target:set:get:detail:cell:edit:"_sel,
            static_cast<NSString *>(title ? title : msg<id>(value, "description"_sel)), self,
            nullptr, nullptr, Nil, PSListItemCell, Nil);
        item->setPropertyForKey(value, "value"_ns);
        items->addObject(item);
    }
    return items;
}

namespace imp {

NSArray *specifiers(PSListItemsController *self, SEL)
{
    if (!self->m_specifiers)
        self->m_specifiers = makeItems(self);
    return self->m_specifiers;
}

void setSpecifier(PSListItemsController *self, SEL _cmd, PSSpecifier *specifier)
{
    msgSuper<void, PSSpecifier *>(PSListItemsController::class_(), self, _cmd, specifier);
    msg<void, NSString *>(self, "setTitle:"_sel, specifier ? specifier->m_name.get() : nil);
    self->m_specifiers = nil;
    msg<void>(self->m_table, "reloadData"_sel);
}

UITableViewCell *cellForRowAtIndexPath(PSListItemsController *self, SEL _cmd, UITableView *table,
                                       NSIndexPath *path)
{
    auto *cell = msgSuper<UITableViewCell *, UITableView *, NSIndexPath *>(
        PSListItemsController::class_(), self, _cmd, table, path);
    bool chosen = sim::objectsEqual(valueOfItem(self->specifierAt(path)), chosenValue(self));
    msg<void, UITableViewCellAccessoryType>(cell, "setAccessoryType:"_sel,
                                            chosen ? UITableViewCellAccessoryCheckmark
                                                   : UITableViewCellAccessoryNone);
    return cell;
}

// Writes the chosen value through the opening row and moves the checkmark.
void didSelectRowAtIndexPath(PSListItemsController *self, SEL, UITableView *table,
                             NSIndexPath *path)
{
    StrongRef<PSListItemsController> keep(self);
    msg<void, NSIndexPath *, BOOL>(table, "deselectRowAtIndexPath:animated:"_sel, path, YES);
    PSSpecifier *item = self->specifierAt(path);
    PSSpecifier *row = self->m_specifier;
    if (!item || !row)
        return;
    if (row->m_target && row->m_setter)
        msg<void, id, PSSpecifier *>(row->m_target, row->m_setter, valueOfItem(item), row);
    for (id object : *msg<NSArray *>(table, "visibleCells"_sel)) {
        auto *cell = static_cast<PSTableCell *>(object);
        bool chosen = cell->m_specifier == item;
        msg<void, UITableViewCellAccessoryType>(cell, "setAccessoryType:"_sel,
                                                chosen ? UITableViewCellAccessoryCheckmark
                                                       : UITableViewCellAccessoryNone);
    }
}

} // namespace imp

const Class kRegistered = PSListItemsController::class_();

} // namespace

Class PSListItemsController::class_()
{
    static const Class cls = [] {
        PSListController::class_();
        return ClassBuilder<PSListItemsController>("PSListItemsController", "PSListController")
            .method("specifiers", imp::specifiers)
            .method("setSpecifier:", imp::setSpecifier)
            .method("tableView:cellForRowAtIndexPath:", imp::cellForRowAtIndexPath)
            .method("tableView:didSelectRowAtIndexPath:", imp::didSelectRowAtIndexPath)
            .registerClass();
    }();
    return cls;
}
