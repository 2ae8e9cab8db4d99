#include "uikit/TextLayout.h"

#include "uikit/UIFont.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace sim {
namespace {

template <class T> struct GObjectDeleter {
    void operator()(T *object) const { g_object_unref(object); }
};
template <class T> using GObjectRef = std::unique_ptr<T, GObjectDeleter<T>>;

struct DescriptionDeleter {
    void operator()(PangoFontDescription *description) const
    {
        pango_font_description_free(description);
    }
};

PangoWeight weightOf(const TextStyle &style)
{
    int weight = style.font ? FcWeightToOpenType(style.font->m_face.weight) : PANGO_WEIGHT_NORMAL;
    if (style.bolder)
        weight = std::max(weight + 300, static_cast<int>(PANGO_WEIGHT_BOLD));
    return static_cast<PangoWeight>(std::clamp(weight, 100, 1000));
}

void applyStyle(PangoLayout *layout, const std::string &text, const TextStyle &style, CGFloat width)
{
    std::unique_ptr<PangoFontDescription, DescriptionDeleter> description(
        pango_font_description_new());
    pango_font_description_set_family(description.get(),
                                      style.font ? style.font->m_face.family.c_str() : "Sans");
    pango_font_description_set_weight(description.get(), weightOf(style));
    if (style.font && style.font->m_face.italic)
        pango_font_description_set_style(description.get(), PANGO_STYLE_ITALIC);
    pango_font_description_set_absolute_size(description.get(), style.pointSize * PANGO_SCALE);
    pango_layout_set_font_description(layout, description.get());
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    if (width > 0)
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    if (style.numberOfLines == 1) {
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        pango_layout_set_height(layout, -1);
    } else {
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        if (style.numberOfLines > 1) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            pango_layout_set_height(layout, -static_cast<int>(style.numberOfLines));
        }
    }
    switch (style.alignment) {
    case TextAlignment::Center:
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        break;
    case TextAlignment::Right:
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
        break;
    case TextAlignment::Left:
        break;
    }
}

CGSize sizeOf(PangoLayout *layout)
{
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {std::ceil(logical.width / double(PANGO_SCALE)),
            std::ceil(logical.height / double(PANGO_SCALE))};
}

} // namespace

CGSize measureText(const std::string &text, const TextStyle &style, CGFloat maxWidth)
{
    if (text.empty())
        return CGSizeZero;
    GObjectRef<PangoContext> context(
        pango_font_map_create_context(pango_cairo_font_map_get_default()));
    GObjectRef<PangoLayout> layout(pango_layout_new(context.get()));
    TextStyle measured = style;
    if (maxWidth <= 0)
        measured.numberOfLines = 0; // nothing to cut without a width
    applyStyle(layout.get(), text, measured, maxWidth);
    return sizeOf(layout.get());
}

void drawText(CGContextRef context, const std::string &text, const TextStyle &style, CGRect rect)
{
    cairo_t *cairo = cairoOf(context);
    if (!cairo || text.empty())
        return;
    GObjectRef<PangoLayout> layout(pango_cairo_create_layout(cairo));
    applyStyle(layout.get(), text, style, rect.size.width);
    CGSize size = sizeOf(layout.get());
    cairo_save(cairo);
    cairo_rectangle(cairo, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cairo);
    cairo_set_source_rgba(cairo, style.red, style.green, style.blue, style.alpha);
    cairo_move_to(cairo, rect.origin.x, rect.origin.y + (rect.size.height - size.height) / 2);
    pango_cairo_show_layout(cairo, layout.get());
    cairo_restore(cairo);
}

} // namespace sim
