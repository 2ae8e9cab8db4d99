#include "settings-panel/LocalizedSpecifier.h"

#include "settings-panel/CVPanelBundle.h"

namespace {

Class g_class;

NSArray *localized(NSArray *texts)
{
    if (!texts)
        return nil;
    NSMutableArray *result = NSMutableArray::array();
    for (const StrongRef<objc_object> &text : *texts)
        result->addObject(CVLocalizedString(static_cast<NSString *>(text.get())));
    return result;
}

LocalizedSpecifier *preferenceSpecifierNamed(id, SEL, NSString *name, id target, SEL setter,
                                             SEL getter, Class detail, NSInteger cellType,
                                             Class edit)
{
    return LocalizedSpecifier::rowNamed(name, target, setter, getter, detail, cellType, edit);
}

LocalizedSpecifier *groupSpecifierWithTitle(id, SEL, NSString *title, NSString *footer)
{
    return LocalizedSpecifier::groupWithTitle(title, footer);
}

void setValuesTitles(LocalizedSpecifier *self, SEL _cmd, NSArray *values, NSArray *titles,
                     NSArray *shortTitles)
{
    msgSuper<void>(g_class, self, _cmd, values, localized(titles), localized(shortTitles));
}

const Class kRegistered = [] {
    g_class = ClassBuilder<LocalizedSpecifier>("LocalizedSpecifier", "PSSpecifier")
                  .classMethod("preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
                               preferenceSpecifierNamed)
                  .classMethod("groupSpecifierWithTitle:footer:", groupSpecifierWithTitle)
                  .method("setValues:titles:shortTitles:", setValuesTitles)
                  .registerClass();
    return g_class;
}();

} // namespace

Class LocalizedSpecifier::class_()
{
    return g_class;
}

LocalizedSpecifier *LocalizedSpecifier::rowNamed(NSString *name, id target, SEL setter, SEL getter,
                                                 Class detail, NSInteger cellType, Class edit)
{
    auto *row = autorelease(msg<LocalizedSpecifier *>(g_class, "new"_sel));
    msg<void>(row, "setName:"_sel, CVLocalizedString(name));
    row->m_target = target;
    row->m_setter = setter;
    row->m_getter = getter;
    row->m_detailControllerClass = detail;
    row->m_cellType = cellType;
    row->m_editPaneClass = edit;
    return row;
}

LocalizedSpecifier *LocalizedSpecifier::groupWithTitle(NSString *title, NSString *footer)
{
    LocalizedSpecifier *group = rowNamed(title, nil, nullptr, nullptr, Nil, PSGroupCell, Nil);
    if (footer)
        group->setPropertyForKey(CVLocalizedString(footer), "footerText"_ns);
    return group;
}
