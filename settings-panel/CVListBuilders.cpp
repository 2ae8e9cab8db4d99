#include "settings-panel/CVListBuilders.h"

#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "settings-panel/SectionListControllerMethods.h"

namespace {

constexpr int kMaximumCount = 10;

// Collects a list's values and titles side by side.
struct ChoicesBuilder {
    NSMutableArray *values = NSMutableArray::array();
    NSMutableArray *titles = NSMutableArray::array();

    ChoicesBuilder &add(NSNumber *value, NSString *title)
    {
        values->addObject(value);
        titles->addObject(title);
        return *this;
    }

    CVChoices choices() const { return {values, titles}; }
};

// The percent list the icon-list block offers for icon sizes: 25 % to 200 %.
CVChoices resizePercentChoices()
{
    return CVPercentChoices(25, 200, 5);
}

} // namespace

CVChoices CVPercentChoices(int firstPercent, int lastPercent, int stepPercent)
{
    ChoicesBuilder list;
    for (int percent = firstPercent; percent <= lastPercent; percent += stepPercent)
        list.add(NSNumber::numberWithFloat(static_cast<float>(percent) / 100.0f),
                 NSString::stringWithFormat("%ld%%", static_cast<long>(percent)));
    return list.choices();
}

CVChoices CVCountChoices()
{
    ChoicesBuilder list;
    list.add(NSNumber::numberWithInt(0), "Default"_ns);
    for (int count = 1; count <= kMaximumCount; ++count)
        list.add(NSNumber::numberWithInt(count),
                 NSString::stringWithFormat("%ld", static_cast<long>(count)));
    return list.choices();
}

CVChoices CVPointSizeChoices(int first, int last, int step)
{
    ChoicesBuilder list;
    list.add(NSNumber::numberWithFloat(0), "Default"_ns);
    for (int size = first; size <= last; size += step)
        list.add(NSNumber::numberWithFloat(static_cast<float>(size)),
                 NSString::stringWithFormat("%d", size));
    return list.choices();
}

CVChoices CVChoicesOf(std::span<const CVChoice> table)
{
    ChoicesBuilder list;
    for (const CVChoice &choice : table)
        list.add(NSNumber::numberWithInt(choice.value),
                 NSString::stringWithUTF8String(choice.title));
    return list.choices();
}

NSArray *SectionListController_percentTitles(SectionListController *, SEL)
{
    return resizePercentChoices().titles;
}

NSArray *SectionListController_percentValues(SectionListController *, SEL)
{
    return resizePercentChoices().values;
}

NSArray *SectionListController_columnTitles(SectionListController *, SEL)
{
    return CVCountChoices().titles;
}

NSArray *SectionListController_columnValues(SectionListController *, SEL)
{
    return CVCountChoices().values;
}

NSArray *SectionListController_rowTitles(SectionListController *, SEL)
{
    return CVCountChoices().titles;
}

NSArray *SectionListController_rowValues(SectionListController *, SEL)
{
    return CVCountChoices().values;
}
