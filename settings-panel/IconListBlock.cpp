// The rows of the icon-list block (CVIconListRoute.h), in the order the Dock, Folders and
// Pages pages show them. The dock form leaves out what a one-row dock has no use for:
// landscape counts, row counts and the paddings between rows and columns.

#include "settings-panel/CVListBuilders.h"
#include "settings-panel/SectionListControllerMethods.h"

#include <vector>

namespace {

CVChoices resizeFactors()
{
    return CVPercentChoices(25, 200, 5);
}

struct BlockRow {
    CVRow row;
    bool inDockForm = true;
};

BlockRow notInDock(CVRow row)
{
    return {row, false};
}

std::vector<BlockRow> blockRows(const char *resizeFooter, const char *labelsFooter, bool isDock)
{
    return {
        {CVGroup("Icons Settings")},
        {CVGroup(nullptr, resizeFooter)},
        {CVSwitch("Resize", "CVIconListEntity.resize")},
        {CVList("Resize Percentage", "CVIconListEntity.resizeFactor", resizeFactors)},
        {CVGroup(nullptr, labelsFooter)},
        {CVSwitch("Hide Labels", "CVIconListEntity.hideLabels")},
        {CVGroup(nullptr,
                 isDock ? "Number of icons in Dock." : "Number of icons for each column/row.")},
        {CVList(isDock ? "Icons" : "Columns", "CVIconListEntity.iconColumns", CVCountChoices)},
        notInDock(
            CVList("Columns Landscape", "CVIconListEntity.iconColumnsLandscape", CVCountChoices)),
        notInDock(CVList("Rows", "CVIconListEntity.iconRows", CVCountChoices)),
        notInDock(CVList("Rows Landscape", "CVIconListEntity.iconRowsLandscape", CVCountChoices)),
        notInDock(CVGroup("Vertical Padding", "Adjust the space between rows.")),
        notInDock(CVSlider(nullptr, "CVIconListEntity.verticalPadding", 0.05, 3.0)),
        notInDock(CVGroup("Horizontal Padding", "Adjust the space between columns.")),
        notInDock(CVSlider(nullptr, "CVIconListEntity.horizontalPadding", 0.05, 3.0)),
        {CVGroup("Side Inset", "Adjust the side inset of icons.")},
        {CVSlider(nullptr, "CVIconListEntity.sideInset", 0.05, 3.0)},
        {CVGroup("Coverflow",
                 "Coverflow settings: enable/disable and adjust the coverflow effect.")},
        {CVSwitch("Enabled", "CVCoverFlowSettings.enabled")},
        {CVSwitch("Reverse", "CVCoverFlowSettings.outside")},
        {CVGroup("Factor")},
        {CVSlider("Factor", "CVCoverFlowSettings.flowFactor", 0.08, 2.0)},
        {CVGroup("Perspective")},
        {CVSlider("Perspective", "CVCoverFlowSettings.perspective", 0.6, 1.2)},
    };
}

} // namespace

NSArray *SectionListController_iconListSpecifiers(SectionListController *self, SEL,
                                                  NSString *resizeFooter, NSString *labelsFooter,
                                                  BOOL isDock)
{
    std::vector<CVRow> rows;
    const char *resize = resizeFooter ? resizeFooter->UTF8String() : nullptr;
    const char *labels = labelsFooter ? labelsFooter->UTF8String() : nullptr;
    for (const BlockRow &entry : blockRows(resize, labels, isDock))
        if (entry.inDockForm || !isDock)
            rows.push_back(entry.row);
    return CVSpecifiersForRows(self, rows);
}
