// What the dump shows of an icon view beyond the generic keys: its badge (text and
// colours), its label's font, whether the blue "recently updated" dot shows, and the
// jitter animations playing on it.

#include "springboard/SBIconView.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/home-screen/HomeScreenClasses.h"
#include "springboard/home-screen/JitterAnimation.h"
#include "springboard/home-screen/SBIconBadgeView.h"
#include "uikit/UIFont.h"

#include <nlohmann/json.hpp>

namespace sim {
namespace {

using nlohmann::json;

json rgb(const int components[3])
{
    return json::array({components[0], components[1], components[2]});
}

json badgeOf(SBIconView *view)
{
    if (!view->showsBadge())
        return nullptr;
    auto *badge = static_cast<SBIconBadgeView *>(view->m_badgeView.get());
    BadgeColors colors = badgeColors(badge);
    json node = {{"text", badge->m_text ? badge->m_text->str() : ""},
                 {"backgroundColor", rgb(colors.background)}};
    // A badge whose text draws nothing visible (a blank) has no text colour to show.
    node["textColor"] = colors.hasText ? rgb(colors.text) : json(nullptr);
    return node;
}

void iconViewAttributes(UIView *view, json &node)
{
    auto *iconView = static_cast<SBIconView *>(view);
    node["badge"] = badgeOf(iconView);
    if (UIFont *font = iconView->m_labelView->m_font)
        node["labelFont"] = {{"name", font->fontName()->str()}, {"size", font->pointSize()}};
    node["updatedMark"] = iconView->showsUpdatedMark();
    node["jitter"] = keyframeAnimationKeys(view->layer());
}

} // namespace

void registerIconViewDumpAttributes()
{
    addViewDumpAttributes("SBIconView", iconViewAttributes);
}

} // namespace sim
