#include "settings-panel/CVIconListRoute.h"

#include "settings-panel/CVPage.h"

#include <string_view>

namespace {

constexpr std::string_view kEntityPrefix = "CVIconListEntity.";
constexpr std::string_view kCoverFlowPrefix = "CVCoverFlowSettings.";

bool contains(NSString *key, std::string_view part)
{
    return key && key->str().find(part) != std::string::npos;
}

bool isCoverFlowKey(NSString *key)
{
    return contains(key, "CVCoverFlowSettings");
}

// The key without the first occurrence of the prefix.
NSString *stripped(NSString *key, std::string_view prefix)
{
    std::string bare = key->str();
    if (std::size_t at = bare.find(prefix); at != std::string::npos)
        bare.erase(at, prefix.size());
    return NSString::stringWithString(bare);
}

NSDictionary *oneEntry(NSString *key, id value)
{
    return NSDictionary::dictionaryWithObjectsForKeys({{key, value}});
}

} // namespace

bool CVKeyNamesIconList(NSString *key)
{
    return contains(key, "CVIconListEntity") || isCoverFlowKey(key);
}

bool CVKeyIsDotted(NSString *key)
{
    return contains(key, ".");
}

id CVReadIconListValue(const CVIconListRoute &route, NSString *key)
{
    if (isCoverFlowKey(key))
        return route.entity->coverflow.getValue(stripped(key, kCoverFlowPrefix));
    return route.entity->getValue(stripped(key, kEntityPrefix));
}

void CVWriteIconListValue(SectionListController *self, const CVIconListRoute &route, NSString *key,
                          id value)
{
    NSDictionary *entityChanges;
    if (isCoverFlowKey(key)) {
        NSDictionary *changes =
            CVLoadValue(&route.entity->coverflow, stripped(key, kCoverFlowPrefix), value);
        entityChanges = oneEntry("coverflow"_ns, changes);
    } else {
        entityChanges = CVLoadValue(route.entity, stripped(key, kEntityPrefix), value);
    }
    NSString *entityName = NSString::stringWithUTF8String(route.entityName);
    CVCommit(self, CVSectionIDIcons, oneEntry(entityName, entityChanges));
}
