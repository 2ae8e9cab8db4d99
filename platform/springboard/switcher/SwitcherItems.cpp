#include "springboard/switcher/SwitcherItems.h"

#include "springboard/HostClass.h"
#include "springboard/apps/SBApplication.h"

namespace {
namespace imp {

NSString *displayIdentifier(SBDisplayItem *self, SEL)
{
    return self->m_displayIdentifier;
}

NSArray *displayItems(SBDisplayLayout *self, SEL)
{
    return self->m_displayItems;
}

} // namespace imp
} // namespace

Class SBDisplayItem::class_()
{
    return objc_getClass("SBDisplayItem");
}

SBDisplayItem *SBDisplayItem::itemWithIdentifier(const std::string &displayIdentifier)
{
    auto *item = sim::make<SBDisplayItem>(class_());
    item->m_displayIdentifier = NSString::stringWithString(displayIdentifier);
    return item;
}

Class SBDisplayLayout::class_()
{
    return objc_getClass("SBDisplayLayout");
}

SBDisplayLayout *SBDisplayLayout::layoutWithItems(NSArray *displayItems)
{
    auto *layout = sim::make<SBDisplayLayout>(class_());
    layout->m_displayItems = NSArray::arrayWithArray(displayItems);
    return layout;
}

namespace sim {

SBApplication *applicationForDisplayIdentifier(const std::string &displayIdentifier)
{
    SBApplicationController *applications = SBApplicationController::shared();
    return applications ? applications->applicationWithBundleIdentifier(displayIdentifier) : nil;
}

void registerSwitcherItemClasses()
{
    HostClass<SBDisplayItem>("SBDisplayItem", "NSObject")
        .onGenerations(iOS8 | iOS9)
        .ivar("_displayIdentifier", &SBDisplayItem::m_displayIdentifier)
        .method("displayIdentifier", imp::displayIdentifier)
        .registerClass();

    HostClass<SBDisplayLayout>("SBDisplayLayout", "NSObject")
        .onGenerations(iOS8)
        .ivar("_displayItems", &SBDisplayLayout::m_displayItems)
        .method("displayItems", imp::displayItems)
        .registerClass();
}

} // namespace sim
