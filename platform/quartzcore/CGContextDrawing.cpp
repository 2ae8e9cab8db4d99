// The drawing calls of bitmap contexts: gstate, transform, clip, fills and images.

#include "quartzcore/CGContext.h"
#include "quartzcore/ContextSync.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

CGContext::GState &gstate(CGContextRef context)
{
    return context->m_states.back();
}

CGFloat unitValue(CGFloat value)
{
    return std::isnan(value) ? 0 : std::clamp<CGFloat>(value, 0, 1);
}

bool isFiniteRect(CGRect rect)
{
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
           std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

void addRectangle(cairo_t *cairo, CGRect rect)
{
    cairo_rectangle(cairo, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

// A Cairo surface over a copy of the image's pixels in Cairo's layout; the caller
// destroys the surface, then frees the bytes.
cairo_surface_t *surfaceOfImage(CGImageRef image, std::vector<std::uint8_t> &bytes)
{
    std::size_t width = image->m_width, height = image->m_height;
    bytes.resize(width * height * 4);
    sim::copyPixels(image->m_pixels.data(), width * 4, sim::kImageLayout, bytes.data(), width * 4,
                    sim::kCairoLayout, width, height);
    return cairo_image_surface_create_for_data(bytes.data(), CAIRO_FORMAT_ARGB32, int(width),
                                               int(height), int(width * 4));
}

// Puts `step` before the current transform. Cairo puts a context whose transform cannot
// be undone (a scale by 0, NaN) into a lasting error state that stops all later drawing,
// so such a step is dropped instead: drawing under it would cover nothing anyway.
void applyStep(CGContextRef context, CGAffineTransform step)
{
    if (!context)
        return;
    cairo_matrix_t matrix, product;
    cairo_matrix_init(&matrix, step.a, step.b, step.c, step.d, step.tx, step.ty);
    cairo_get_matrix(context->m_cairo, &product);
    cairo_matrix_multiply(&product, &matrix, &product);
    bool finite = std::isfinite(product.xx) && std::isfinite(product.yx) &&
                  std::isfinite(product.xy) && std::isfinite(product.yy) &&
                  std::isfinite(product.x0) && std::isfinite(product.y0);
    if (finite && cairo_matrix_invert(&product) == CAIRO_STATUS_SUCCESS)
        cairo_transform(context->m_cairo, &matrix);
}

} // namespace

void CGContextSaveGState(CGContextRef context)
{
    if (!context)
        return;
    cairo_save(context->m_cairo);
    context->m_states.push_back(gstate(context));
}

void CGContextRestoreGState(CGContextRef context)
{
    if (!context || context->m_states.size() == 1)
        return;
    cairo_restore(context->m_cairo);
    context->m_states.pop_back();
}

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty)
{
    applyStep(context, {1, 0, 0, 1, tx, ty});
}

void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy)
{
    applyStep(context, {sx, 0, 0, sy, 0, 0});
}

void CGContextRotateCTM(CGContextRef context, CGFloat angle)
{
    applyStep(context, CGAffineTransformMakeRotation(angle));
}

void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform)
{
    applyStep(context, transform);
}

CGAffineTransform CGContextGetCTM(CGContextRef context)
{
    if (!context)
        return CGAffineTransformIdentity;
    cairo_matrix_t m;
    cairo_get_matrix(context->m_cairo, &m);
    // Cairo's device space has y down; the platform's has it up.
    CGAffineTransform toCairoDevice = {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
    CGAffineTransform flip = {1, 0, 0, -1, 0, CGFloat(context->m_height)};
    return CGAffineTransformConcat(toCairoDevice, flip);
}

void CGContextClipToRect(CGContextRef context, CGRect rect)
{
    if (!context || !isFiniteRect(rect))
        return;
    addRectangle(context->m_cairo, rect);
    cairo_clip(context->m_cairo);
}

void CGContextSetAlpha(CGContextRef context, CGFloat alpha)
{
    if (context)
        gstate(context).alpha = unitValue(alpha);
}

void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue,
                              CGFloat alpha)
{
    if (!context)
        return;
    CGFloat *fill = gstate(context).fill;
    fill[0] = unitValue(red);
    fill[1] = unitValue(green);
    fill[2] = unitValue(blue);
    fill[3] = unitValue(alpha);
}

void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color)
{
    if (const CGFloat *c = CGColorGetComponents(color))
        CGContextSetRGBFillColor(context, c[0], c[1], c[2], c[3]);
}

void CGContextFillRect(CGContextRef context, CGRect rect)
{
    if (!context || !isFiniteRect(rect))
        return;
    sim::DrawingCall call(context);
    const CGContext::GState &state = gstate(context);
    cairo_t *cairo = context->m_cairo;
    cairo_set_source_rgba(cairo, state.fill[0], state.fill[1], state.fill[2],
                          state.fill[3] * state.alpha);
    addRectangle(cairo, rect);
    cairo_fill(cairo);
}

void CGContextClearRect(CGContextRef context, CGRect rect)
{
    if (!context || !isFiniteRect(rect))
        return;
    sim::DrawingCall call(context);
    cairo_t *cairo = context->m_cairo;
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
    addRectangle(cairo, rect);
    cairo_fill(cairo);
    cairo_restore(cairo);
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image)
{
    if (!context || !image || !isFiniteRect(rect))
        return;
    rect = CGRectStandardize(rect);
    if (CGRectIsEmpty(rect))
        return;
    sim::DrawingCall call(context);
    std::vector<std::uint8_t> bytes;
    cairo_surface_t *source = surfaceOfImage(image, bytes);
    cairo_t *cairo = context->m_cairo;
    cairo_save(cairo);
    addRectangle(cairo, rect);
    cairo_clip(cairo);
    // The image's first row goes to the edge of the rectangle with the larger y.
    cairo_translate(cairo, rect.origin.x, rect.origin.y + rect.size.height);
    cairo_scale(cairo, rect.size.width / double(image->m_width),
                -rect.size.height / double(image->m_height));
    cairo_set_source_surface(cairo, source, 0, 0);
    // Edge pixels extend outwards so that a scaled image keeps hard edges at the clip.
    cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_BILINEAR);
    cairo_paint_with_alpha(cairo, gstate(context).alpha);
    cairo_restore(cairo);
    cairo_surface_destroy(source);
}
