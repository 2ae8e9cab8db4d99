#include "springboard/ViewDumpAttributes.h"

#include "uikit/UIColor.h"

#include <nlohmann/json.hpp>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

namespace {

// Few classes register attributes, so a name-keyed map looked up per class of the chain
// costs nothing beside drawing the screenshot that usually follows a dump.
struct Registry {
    std::mutex lock;
    std::map<std::string, ViewDumpAttributes, std::less<>> attributes;
};

Registry &registry()
{
    static Registry *instance = new Registry; // used until the process ends
    return *instance;
}

} // namespace

void addViewDumpAttributes(const char *className, ViewDumpAttributes attributes)
{
    Registry &known = registry();
    std::lock_guard guard(known.lock);
    known.attributes[className] = attributes;
}

void addRegisteredViewAttributes(UIView *view, nlohmann::json &node)
{
    std::vector<ViewDumpAttributes> chain;
    {
        Registry &known = registry();
        std::lock_guard guard(known.lock);
        if (known.attributes.empty())
            return;
        for (Class cls = object_getClass(reinterpret_cast<id>(view)); cls;
             cls = class_getSuperclass(cls))
            if (auto found = known.attributes.find(class_getName(cls));
                found != known.attributes.end())
                chain.push_back(found->second);
    }
    for (auto attributes = chain.rbegin(); attributes != chain.rend(); ++attributes)
        (*attributes)(view, node);
}

nlohmann::json rectJson(CGRect rect)
{
    return {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
}

nlohmann::json colorJson(UIColor *color)
{
    if (!color)
        return nullptr;
    return {color->m_red, color->m_green, color->m_blue, color->m_alpha};
}

} // namespace sim
