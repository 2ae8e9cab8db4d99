#include "settings-panel/CVPanelBundle.h"

#include "objc/runtime.h"

#include <algorithm>
#include <cctype>

NSBundle *CVPanelBundle()
{
    static NSBundle *const bundle = msg<NSBundle *>(NSBundle::class_(), "bundleForClass:"_sel,
                                                    objc_getClass("RootListController"));
    return bundle;
}

NSString *CVLocalizedString(NSString *english)
{
    if (!english)
        return nil;
    return msg<NSString *>(CVPanelBundle(), "localizedStringForKey:value:table:"_sel, english,
                           english, "Settings"_ns);
}

NSString *CVLocalizedString(const char *english)
{
    return english ? CVLocalizedString(NSString::stringWithUTF8String(english)) : nil;
}

NSString *CVIconPath(NSString *name)
{
    NSString *resources = msg<NSString *>(CVPanelBundle(), "resourcePath"_sel);
    return NSString::stringWithFormat("%@/icons/%@.png", resources, name);
}

bool CVTitleLess(NSString *a, NSString *b)
{
    const std::string &left = a->str();
    const std::string &right = b->str();
    auto folded = [](unsigned char c) { return std::tolower(c); };
    auto foldedLess = [&](unsigned char x, unsigned char y) { return folded(x) < folded(y); };
    if (std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                     foldedLess))
        return true;
    if (std::lexicographical_compare(right.begin(), right.end(), left.begin(), left.end(),
                                     foldedLess))
        return false;
    return left < right;
}
