// The named filters' pixel rules and the row walk that applies them.
//
// A pixel is handled as the 32-bit little-endian word that its bitmap info describes:
// alpha in bits 0–7, blue 8–15, green 16–23, red 24–31. A rule sees the three colour
// values as plain integers and answers the new ones; the walk keeps alpha, and keeps the
// whole pixel where the rule skips black (red + green + blue = 0, which also leaves fully
// transparent pixels transparent). Walking words instead of single bytes is what lets the
// compiler turn a row into a few vector instructions per group of pixels.

#include "effects/CVPixelFilters.h"
#include "effects/CVWidestVectors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

// Every version of a walk (CVWidestVectors.h) computes the same bytes (CVPixelFilters.h).

namespace {

static_assert(std::endian::native == std::endian::little,
              "pixel words are read as little-endian words, as bitmap info 0x2001 stores them");

constexpr std::uint32_t kAlphaBits = 0x000000FF;
constexpr std::uint32_t kColourBits = 0xFFFFFF00;

struct Colour {
    int red;
    int green;
    int blue;
};

std::uint32_t loadWord(const std::uint8_t *pixel)
{
    std::uint32_t word;
    std::memcpy(&word, pixel, sizeof word);
    return word;
}

void storeWord(std::uint8_t *pixel, std::uint32_t word)
{
    std::memcpy(pixel, &word, sizeof word);
}

Colour colourOf(std::uint32_t word)
{
    return {int(word >> 24), int((word >> 16) & 0xFF), int((word >> 8) & 0xFF)};
}

std::uint32_t colourBitsOf(Colour colour)
{
    return std::uint32_t(colour.red) << 24 | std::uint32_t(colour.green) << 16 |
           std::uint32_t(colour.blue) << 8;
}

template <class Rule> void recolourPixel(std::uint8_t *pixel, const Rule &rule)
{
    std::uint32_t word = loadWord(pixel);
    std::uint32_t colour = word & kColourBits;
    bool keepsColour = Rule::kSkipsBlack && colour == 0;
    std::uint32_t recoloured = keepsColour ? colour : colourBitsOf(rule(colourOf(word)));
    storeWord(pixel, (word & kAlphaBits) | recoloured);
}

// The template walk: one inlined rule over whole rows, so the inner loop vectorises.
template <class Rule> void walkRows(CVPixelBuffer buffer, const Rule &rule)
{
    for (std::size_t y = 0; y < buffer.height; ++y) {
        std::uint8_t *row = buffer.bytes + y * buffer.width * 4;
        for (std::size_t x = 0; x < buffer.width; ++x)
            recolourPixel(row + x * 4, rule);
    }
}

// Double precision truncated towards zero, then 255 if above 255.
int truncatedAndCapped(double value)
{
    return std::min(int(value), 255);
}

struct InvertRule {
    static constexpr bool kSkipsBlack = true;
    Colour operator()(Colour c) const { return {255 - c.red, 255 - c.green, 255 - c.blue}; }
};

struct BlackAndWhiteRule {
    static constexpr bool kSkipsBlack = false;
    Colour operator()(Colour c) const
    {
        int grey = int(0.3 * c.red + 0.59 * c.green + 0.11 * c.blue);
        return {grey, grey, grey};
    }
};

struct SepiaRule {
    static constexpr bool kSkipsBlack = false;
    Colour operator()(Colour c) const
    {
        return {truncatedAndCapped(0.393 * c.red + 0.769 * c.green + 0.189 * c.blue),
                truncatedAndCapped(0.349 * c.red + 0.686 * c.green + 0.168 * c.blue),
                truncatedAndCapped(0.272 * c.red + 0.534 * c.green + 0.131 * c.blue)};
    }
};

struct FadedRule {
    static constexpr bool kSkipsBlack = true;
    Colour operator()(Colour c) const
    {
        return {std::min(c.red, 150), std::min(c.green, 150), std::min(c.blue, 150)};
    }
};

struct PsychoRule {
    static constexpr bool kSkipsBlack = true;
    Colour operator()(Colour c) const { return {c.red % 150, c.green % 150, c.blue % 150}; }
};

struct Ordered {
    int largest;
    int median;
    int smallest;
};

Ordered ordered(Colour c)
{
    int largest = std::max({c.red, c.green, c.blue});
    int smallest = std::min({c.red, c.green, c.blue});
    return {largest, c.red + c.green + c.blue - largest - smallest, smallest};
}

struct RedAscendantRule {
    static constexpr bool kSkipsBlack = true;
    Colour operator()(Colour c) const
    {
        Ordered o = ordered(c);
        return {o.largest, o.median, o.smallest};
    }
};

struct GreenAscendantRule {
    static constexpr bool kSkipsBlack = true;
    Colour operator()(Colour c) const
    {
        Ordered o = ordered(c);
        return {o.smallest, o.largest, o.median};
    }
};

// Single precision: roundf((c − 127.5) × k) + 128, then clamped to 0…255. The rule
// depends on nothing but the channel value, so its 256 results are worked out once per
// walk and looked up per channel. A NaN factor counts as below 0.
struct ContrastRule {
    static constexpr bool kSkipsBlack = true;
    std::array<int, 256> levels;

    explicit ContrastRule(float factor)
    {
        for (int c = 0; c < 256; ++c) {
            float stretched = std::roundf((float(c) - 127.5f) * factor) + 128.0f;
            levels[c] = !(stretched >= 0.0f) ? 0 : stretched > 255.0f ? 255 : int(stretched);
        }
    }

    Colour operator()(Colour c) const { return {levels[c.red], levels[c.green], levels[c.blue]}; }
};

} // namespace

void CVRecolourBuffer(CVPixelBuffer buffer, const CVPixelBlock &block)
{
    for (std::size_t y = 0; y < buffer.height; ++y) {
        std::uint8_t *row = buffer.bytes + y * buffer.width * 4;
        for (std::size_t x = 0; x < buffer.width; ++x)
            block(row + x * 4);
    }
}

CV_WIDEST_VECTORS void CVFilterBuffer(CVPixelBuffer buffer, CVPixelFilter filter)
{
    switch (filter) {
    case CVPixelFilter::Invert:
        return walkRows(buffer, InvertRule{});
    case CVPixelFilter::BlackAndWhite:
        return walkRows(buffer, BlackAndWhiteRule{});
    case CVPixelFilter::Sepia:
        return walkRows(buffer, SepiaRule{});
    case CVPixelFilter::Faded:
        return walkRows(buffer, FadedRule{});
    case CVPixelFilter::Psycho:
        return walkRows(buffer, PsychoRule{});
    case CVPixelFilter::RedAscendant:
        return walkRows(buffer, RedAscendantRule{});
    case CVPixelFilter::GreenAscendant:
        return walkRows(buffer, GreenAscendantRule{});
    }
}

CV_WIDEST_VECTORS void CVContrastBuffer(CVPixelBuffer buffer, float factor)
{
    walkRows(buffer, ContrastRule(factor));
}
