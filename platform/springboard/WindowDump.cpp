// What the device tool reads of the screen: the view trees of the visible windows as
// JSON, the alerts, and screenshots.

#include "springboard/SpringBoardHost.h"
#include "springboard/ViewDumpAttributes.h"
#include "springboard/backlight/BacklightHost.h"

#include "foundation/DeviceProfile.h"
#include "quartzcore/CAFilter.h"
#include "uikit/Snapshot.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITextField.h"
#include "uikit/UIWindow.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {

using nlohmann::json;

// A number as a reader wants it: six significant digits (effects compute in single
// precision, so 0.65 rather than 0.6499999761581421), and no negative zero.
double readable(CGFloat value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    double rounded = std::strtod(text, nullptr);
    return rounded == 0 ? 0 : rounded;
}

// A transform as its four rows (m11 m12 m13 m14 first, the translation in the last row).
json matrix(const CATransform3D &t)
{
    return json::array(
        {json::array({readable(t.m11), readable(t.m12), readable(t.m13), readable(t.m14)}),
         json::array({readable(t.m21), readable(t.m22), readable(t.m23), readable(t.m24)}),
         json::array({readable(t.m31), readable(t.m32), readable(t.m33), readable(t.m34)}),
         json::array({readable(t.m41), readable(t.m42), readable(t.m43), readable(t.m44)})});
}

// Most views are untransformed; only the transforms that are not the identity are listed,
// so those that page effects and cover flow set stand out.
void addTransforms(CALayer *layer, json &node)
{
    if (!CATransform3DIsIdentity(layer->transform()))
        node["transform"] = matrix(layer->transform());
    if (!CATransform3DIsIdentity(layer->sublayerTransform()))
        node["sublayerTransform"] = matrix(layer->sublayerTransform());
}

bool isKindOf(UIView *view, Class cls)
{
    return msg<BOOL>(view, "isKindOfClass:"_sel, cls);
}

// "Name size", as "HelveticaNeue 12".
std::string fontDescription(UIFont *font)
{
    char size[32];
    std::snprintf(size, sizeof size, " %g", font->pointSize());
    return font->fontName()->str() + size;
}

// The keys only some views have: what they show.
void addContents(UIView *view, json &node)
{
    if (NSArray *filters = view->layer()->filters(); filters && filters->count() > 0) {
        json names = json::array();
        for (id filter : *filters)
            if (NSString *name = static_cast<CAFilter *>(filter)->name())
                names.push_back(name->str());
        node["filters"] = names;
    }
    if (isKindOf(view, UILabel::class_())) {
        auto *label = static_cast<UILabel *>(view);
        if (label->m_text)
            node["text"] = label->m_text->str();
        if (label->m_font)
            node["font"] = fontDescription(label->m_font);
    } else if (isKindOf(view, UITextField::class_())) {
        if (auto *text = static_cast<UITextField *>(view)->m_text.get())
            node["text"] = text->str();
    } else if (isKindOf(view, UIImageView::class_())) {
        if (UIImage *image = static_cast<UIImageView *>(view)->m_image) {
            CGSize size = image->size();
            node["image"] = json::array({size.width, size.height});
        }
    }
}

json dumpView(UIView *view)
{
    CGPoint center = view->center();
    json node = {
        {"class", object_getClassName(view)},
        {"frame", rectJson(view->frame())},
        {"bounds", rectJson(view->bounds())},
        {"center", json::array({center.x, center.y})},
        {"alpha", readable(view->alpha())},
        {"hidden", view->isHidden()},
        {"tag", view->m_tag},
    };
    addTransforms(view->layer(), node);
    addContents(view, node);
    addRegisteredViewAttributes(view, node);
    if (!view->m_subviews.empty()) {
        json children = json::array();
        for (UIView *subview : view->m_subviews)
            children.push_back(dumpView(subview));
        node["children"] = std::move(children);
    }
    return node;
}

} // namespace

nlohmann::json SpringBoardHost::dumpWindows()
{
    json windows = json::array();
    for (UIWindow *window : visibleWindowsBottomUp()) {
        json node = dumpView(window);
        node["level"] = window->m_windowLevel;
        windows.push_back(std::move(node));
    }
    return windows;
}

nlohmann::json SpringBoardHost::dumpAlerts()
{
    json alerts = json::array();
    for (const VisibleAlert &alert : visibleAlerts())
        alerts.push_back(
            {{"title", alert.title}, {"message", alert.message}, {"buttons", alert.buttons}});
    return alerts;
}

bool SpringBoardHost::screenshot(const std::string &hostPath)
{
    AutoreleasePool pool;
    StrongRef<CGImage> screen = StrongRef<CGImage>::adopt(BacklightHost::createDisplayImage());
    if (!screen)
        return false;
    UIImage *image = UIImage::imageWithCGImageScaleOrientation(
        screen, DeviceProfile::current()->screenScale, UIImageOrientationUp);
    return writePNG(image, hostPath);
}

} // namespace sim
