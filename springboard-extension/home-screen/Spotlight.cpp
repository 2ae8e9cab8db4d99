#include "springboard-extension/home-screen/Spotlight.h"

#include "objc/NSObject.h"
#include "quartzcore/CGGeometry.h"
#include "settings-core/CVSettings.h"
#include "springboard-extension/frame/Replacement.h"

namespace {

bool isHiddenSection(NSInteger section)
{
    switch (section) {
    case 0:
        return gCVIcons.hideSiriSuggestions;
    case 1:
        return gCVIcons.hideNearby;
    case 2:
        return gCVIcons.hideNews;
    default:
        return false;
    }
}

id (*orig_SPUISearchViewController_tableView_viewForHeaderInSection)(id, SEL, id, NSInteger);
id SPUISearchViewController_tableView_viewForHeaderInSection(id self, SEL _cmd, id tableView,
                                                             NSInteger section)
{
    if (!isHiddenSection(section))
        return orig_SPUISearchViewController_tableView_viewForHeaderInSection(self, _cmd, tableView,
                                                                              section);
    id empty = msg<id, CGRect>(msg<id>(objc_getClass("UIView"), "alloc"_sel), "initWithFrame:"_sel,
                               CGRectZero);
    return objc_autorelease(empty);
}

NSInteger (*orig_SPUISearchViewController_tableView_numberOfRowsInSection)(id, SEL, id, NSInteger);
NSInteger SPUISearchViewController_tableView_numberOfRowsInSection(id self, SEL _cmd, id tableView,
                                                                   NSInteger section)
{
    if (isHiddenSection(section))
        return 0;
    return orig_SPUISearchViewController_tableView_numberOfRowsInSection(self, _cmd, tableView,
                                                                         section);
}

} // namespace

void SpotlightInit()
{
    Class search = objc_getClass("SPUISearchViewController");
    ReplaceMethod(search, "tableView:viewForHeaderInSection:"_sel,
                  SPUISearchViewController_tableView_viewForHeaderInSection,
                  &orig_SPUISearchViewController_tableView_viewForHeaderInSection);
    ReplaceMethod(search, "tableView:numberOfRowsInSection:"_sel,
                  SPUISearchViewController_tableView_numberOfRowsInSection,
                  &orig_SPUISearchViewController_tableView_numberOfRowsInSection);
}
