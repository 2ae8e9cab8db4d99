// The JSON bodies of the settings application's actions, as the page (or anything else
// that got past the guard) posts them. Every body is parsed to one action or refused with
// a reason; an accepted action holds only what the panel can be asked to do: indexes whole
// and within bounds, coordinates finite and bounded, texts of bounded length.

#include "PanelAction.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

void expectIndex(long index)
{
    if (index < 0 || index > sim::kMaxIndex)
        fail("an accepted action points outside the bounds");
}

void expectRow(const sim::RowAddress &row)
{
    expectIndex(row.section);
    expectIndex(row.row);
}

void expectText(const std::string &text)
{
    if (text.size() > sim::kMaxTypedTextBytes)
        fail("an accepted action carries an overlong text");
}

struct ExpectBounded {
    void operator()(const sim::TapRow &tap) const { expectRow(tap.row); }
    void operator()(const sim::SetSwitch &set) const { expectRow(set.row); }
    void operator()(const sim::SetSlider &set) const
    {
        expectRow(set.row);
        if (!std::isfinite(set.value))
            fail("an accepted slider value is not finite");
    }
    void operator()(const sim::EndTextEditing &end) const
    {
        expectRow(end.row);
        expectText(end.text);
    }
    void operator()(const sim::PressAlertButton &press) const
    {
        expectIndex(press.alert);
        expectIndex(press.button);
        if (press.text)
            expectText(*press.text);
    }
    void operator()(const sim::TouchView &touch) const
    {
        for (double coordinate : {touch.point.x, touch.point.y})
            if (!std::isfinite(coordinate) || std::fabs(coordinate) > sim::kMaxCoordinate)
                fail("an accepted touch lies outside the bounds");
    }
    void operator()(const sim::PressBarButton &) const {}
    void operator()(const sim::GoBack &) const {}
    void operator()(const sim::TapBanner &) const {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    sim::ParsedAction parsed = sim::parsePanelAction({reinterpret_cast<const char *>(data), size});
    if (!parsed.action) {
        if (parsed.error.empty())
            fail("a refused action has no reason");
        return 0;
    }
    if (size > sim::kMaxActionBodyBytes)
        fail("an oversized body was accepted");
    std::visit(ExpectBounded{}, *parsed.action);
    return 0;
}
