// Draws the panel's page icons at build time: for every page a rounded square in the
// page's tint colour with a simple white glyph, 29×29 points, as "<Name>.png" (one pixel
// per point) and "<Name>@2x.png" (two). Glyphs are drawn in a unit square whose origin
// is the icon's top-left corner, so one drawing serves both scales.
//
// Usage: DrawPageIcons OUTPUT_DIRECTORY

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kIconPoints = 29;
constexpr double kCornerRadius = 0.22; // of the side, as the system's small icons
constexpr double kStroke = 0.085;

struct Tint {
    double red, green, blue;
};

using Glyph = void (*)(cairo_t *);

struct PageIcon {
    const char *name;
    Tint tint;
    Glyph glyph;
};

void roundedRectangle(cairo_t *cr, double x, double y, double width, double height, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void line(cairo_t *cr, double x0, double y0, double x1, double y1)
{
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

// A power symbol: an open ring and a bar through its gap.
void enabledGlyph(cairo_t *cr)
{
    cairo_arc(cr, 0.5, 0.53, 0.25, -M_PI / 2 + 0.6, 3 * M_PI / 2 - 0.6);
    cairo_stroke(cr);
    line(cr, 0.5, 0.2, 0.5, 0.5);
}

// A play triangle with two motion lines behind it.
void animationsGlyph(cairo_t *cr)
{
    cairo_move_to(cr, 0.4, 0.28);
    cairo_line_to(cr, 0.76, 0.5);
    cairo_line_to(cr, 0.4, 0.72);
    cairo_close_path(cr);
    cairo_fill(cr);
    line(cr, 0.2, 0.4, 0.32, 0.4);
    line(cr, 0.2, 0.6, 0.32, 0.6);
}

// Two cards side by side, the front one whole.
void appSliderGlyph(cairo_t *cr)
{
    roundedRectangle(cr, 0.2, 0.26, 0.36, 0.48, 0.06);
    cairo_fill(cr);
    roundedRectangle(cr, 0.62, 0.3, 0.2, 0.4, 0.05);
    cairo_stroke(cr);
}

// Two sliders, each a track with its knob.
void controlCenterGlyph(cairo_t *cr)
{
    line(cr, 0.22, 0.36, 0.78, 0.36);
    line(cr, 0.22, 0.64, 0.78, 0.64);
    cairo_arc(cr, 0.38, 0.36, 0.08, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 0.64, 0.64, 0.08, 0, 2 * M_PI);
    cairo_fill(cr);
}

// A shelf at the bottom holding three icons.
void dockGlyph(cairo_t *cr)
{
    roundedRectangle(cr, 0.16, 0.56, 0.68, 0.24, 0.05);
    cairo_stroke(cr);
    for (double x : {0.24, 0.42, 0.6})
        cairo_rectangle(cr, x, 0.62, 0.14, 0.12);
    cairo_fill(cr);
}

// A folder with its tab.
void foldersGlyph(cairo_t *cr)
{
    cairo_move_to(cr, 0.18, 0.28);
    cairo_line_to(cr, 0.42, 0.28);
    cairo_line_to(cr, 0.48, 0.36);
    cairo_line_to(cr, 0.82, 0.36);
    cairo_line_to(cr, 0.82, 0.74);
    cairo_line_to(cr, 0.18, 0.74);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A two-by-two grid of icons.
void iconsGlyph(cairo_t *cr)
{
    for (double x : {0.22, 0.54})
        for (double y : {0.22, 0.54})
            roundedRectangle(cr, x, y, 0.24, 0.24, 0.06);
    cairo_fill(cr);
}

// A padlock: shackle and body.
void lockScreenGlyph(cairo_t *cr)
{
    cairo_arc(cr, 0.5, 0.42, 0.14, M_PI, 2 * M_PI);
    line(cr, 0.36, 0.42, 0.36, 0.48);
    line(cr, 0.64, 0.42, 0.64, 0.48);
    roundedRectangle(cr, 0.27, 0.48, 0.46, 0.32, 0.05);
    cairo_fill(cr);
}

// A list of three notifications.
void notificationCenterGlyph(cairo_t *cr)
{
    for (double y : {0.3, 0.5, 0.7}) {
        cairo_arc(cr, 0.26, y, 0.05, 0, 2 * M_PI);
        cairo_fill(cr);
        line(cr, 0.38, y, 0.8, y);
    }
}

// A page with the page dots beneath it.
void pagesGlyph(cairo_t *cr)
{
    roundedRectangle(cr, 0.3, 0.18, 0.4, 0.46, 0.05);
    cairo_stroke(cr);
    for (double x : {0.38, 0.5, 0.62}) {
        cairo_arc(cr, x, 0.78, 0.04, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// A bar along the top with signal strength steps in it.
void statusBarGlyph(cairo_t *cr)
{
    roundedRectangle(cr, 0.16, 0.22, 0.68, 0.56, 0.06);
    cairo_stroke(cr);
    for (int step = 0; step < 4; ++step) {
        double height = 0.06 + 0.05 * step;
        cairo_rectangle(cr, 0.26 + 0.1 * step, 0.5 - height, 0.06, height);
    }
    cairo_fill(cr);
}

// The tints are those of the pages' navigation bars; the master switch takes the root
// page's red.
const PageIcon kIcons[] = {
    {"Enabled", {0.90, 0.22, 0.21}, enabledGlyph},
    {"Animations", {0.9843, 0.6471, 0.3020}, animationsGlyph},
    {"AppSlider", {0.9490, 0.8824, 0.3451}, appSliderGlyph},
    {"ControlCenter", {0.7059, 0.8353, 0.4196}, controlCenterGlyph},
    {"Dock", {0.4157, 0.7569, 0.6078}, dockGlyph},
    {"Folders", {0.4588, 0.6863, 0.8471}, foldersGlyph},
    {"Icons", {0.6431, 0.5608, 0.7490}, iconsGlyph},
    {"LockScreen", {0.8471, 0.5176, 0.6510}, lockScreenGlyph},
    {"NotificationCenter", {0.7059, 0.8353, 0.4196}, notificationCenterGlyph},
    {"Pages", {0.9569, 0.4471, 0.4039}, pagesGlyph},
    {"StatusBar", {0.7529, 0.7608, 0.7725}, statusBarGlyph},
};

bool drawIcon(const PageIcon &icon, int scale, const std::string &path)
{
    int side = kIconPoints * scale;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t *cr = cairo_create(surface);
    cairo_scale(cr, side, side);
    roundedRectangle(cr, 0, 0, 1, 1, kCornerRadius);
    cairo_set_source_rgb(cr, icon.tint.red, icon.tint.green, icon.tint.blue);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, kStroke);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    icon.glyph(cr);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written)
        std::fprintf(stderr, "DrawPageIcons: cannot write %s\n", path.c_str());
    return written;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: DrawPageIcons OUTPUT_DIRECTORY\n");
        return 2;
    }
    std::string directory = argv[1];
    for (const PageIcon &icon : kIcons) {
        if (!drawIcon(icon, 1, directory + "/" + icon.name + ".png") ||
            !drawIcon(icon, 2, directory + "/" + icon.name + "@2x.png"))
            return 1;
    }
    return 0;
}
