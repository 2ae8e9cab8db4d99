#pragma once
// Text as labels lay it out, drawn with Pango. One style (font, colour, alignment, line
// limit) applies to the whole text. Sizes are in points: drawing goes into a context
// whose transform already maps points to pixels, so glyphs are rasterised at the
// context's own resolution and stay sharp at any screen scale.

#include "quartzcore/CGContext.h"

#include <string>

struct UIFont;

namespace sim {

enum class TextAlignment { Left, Center, Right };

struct TextStyle {
    const UIFont *font = nullptr;
    // Makes the face one weight heavier, as the accessibility setting "Bold Text" does.
    bool bolder = false;
    CGFloat pointSize = 17; // may differ from the font's when a label shrinks its text
    CGFloat red = 0, green = 0, blue = 0, alpha = 1;
    TextAlignment alignment = TextAlignment::Left;
    // 1: one line, cut with an ellipsis; 0: as many lines as the text needs.
    long numberOfLines = 1;
};

// The size the text takes, in points, wrapped at `maxWidth` (unbounded when 0 or less).
CGSize measureText(const std::string &text, const TextStyle &style, CGFloat maxWidth);

// Draws the text into `rect` of the context's user space, centred vertically as labels
// centre their text.
void drawText(CGContextRef context, const std::string &text, const TextStyle &style, CGRect rect);

} // namespace sim
