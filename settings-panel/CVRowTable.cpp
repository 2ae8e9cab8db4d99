#include "settings-panel/CVRowTable.h"

#include "foundation/CoreFoundation.h"
#include "settings-panel/CVListBuilders.h"
#include "settings-panel/LocalizedSpecifier.h"
#include "settings-panel/SectionListController.h"
#include "uikit/UIDevice.h"

namespace {

NSString *text(const char *english)
{
    return english ? NSString::stringWithUTF8String(english) : nil;
}

PSSpecifier *listRow(SectionListController *page, const CVRow &row)
{
    CVChoices choices = row.makeChoices ? row.makeChoices() : CVChoicesOf(row.choices);
    return msg<PSSpecifier *>(page, "listSpecifierWithTitle:values:titles:key:"_sel,
                              text(row.title), choices.values, choices.titles, text(row.key));
}

PSSpecifier *sliderRow(SectionListController *page, const CVRow &row)
{
    return msg<PSSpecifier *, NSString *, float, float, BOOL, NSString *>(
        page, "sliderSpecifierWithTitle:minValue:maxValue:showValue:key:"_sel, text(row.title),
        static_cast<float>(row.minimum), static_cast<float>(row.maximum), YES, text(row.key));
}

PSSpecifier *specifierForRow(SectionListController *page, const CVRow &row)
{
    switch (row.kind) {
    case CVRowKind::Group:
        return LocalizedSpecifier::groupWithTitle(text(row.title), text(row.key));
    case CVRowKind::Switch:
        return msg<PSSpecifier *>(page, "switchSpecifierWithTitle:key:"_sel, text(row.title),
                                  text(row.key));
    case CVRowKind::List:
        return listRow(page, row);
    case CVRowKind::Slider:
        return sliderRow(page, row);
    case CVRowKind::Text:
        return msg<PSSpecifier *>(page, "textSpecifierWithPlaceholder:key:"_sel,
                                  text(row.placeholder), text(row.key));
    case CVRowKind::Color:
        return msg<PSSpecifier *>(page, "colorSpecifierWithTitle:key:"_sel, text(row.title),
                                  text(row.key));
    case CVRowKind::Font:
        return msg<PSSpecifier *>(page, "fontSpecifierWithTitle:key:"_sel, text(row.title),
                                  text(row.key));
    case CVRowKind::Apps:
        return msg<PSSpecifier *>(page, "appsSpecifierWithTitle:key:"_sel, text(row.title),
                                  text(row.key));
    }
    return nil;
}

} // namespace

NSMutableArray *CVSpecifiersForRows(SectionListController *page, std::span<const CVRow> rows)
{
    NSMutableArray *specifiers = NSMutableArray::array();
    for (const CVRow &row : rows)
        if (!row.condition || row.condition())
            specifiers->addObject(specifierForRow(page, row));
    return specifiers;
}

bool CVIsPad()
{
    return msg<UIUserInterfaceIdiom>(msg<id>(UIDevice::class_(), "currentDevice"_sel),
                                     "userInterfaceIdiom"_sel) == UIUserInterfaceIdiomPad;
}

bool CVIsNotPad()
{
    return !CVIsPad();
}

bool CVIsNinthGeneration()
{
    return kCFCoreFoundationVersionNumber >= 1240.1;
}

bool CVIsBeforeNinthGeneration()
{
    return !CVIsNinthGeneration();
}
