#include "PanelAction.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

template <class Action> Action parsedAs(const std::string &body)
{
    ParsedAction parsed = parsePanelAction(body);
    EXPECT_TRUE(parsed.action) << body << ": " << parsed.error;
    if (!parsed.action || !std::holds_alternative<Action>(*parsed.action)) {
        ADD_FAILURE() << body << " parsed as another action";
        return Action{};
    }
    return std::get<Action>(*parsed.action);
}

// The error of a body that must be refused.
std::string refusal(const std::string &body)
{
    ParsedAction parsed = parsePanelAction(body);
    EXPECT_FALSE(parsed.action) << body;
    return parsed.error;
}

} // namespace

TEST(PanelAction, ReadsEveryGesture)
{
    auto tap = parsedAs<TapRow>(R"({"action":"tap","section":2,"row":5})");
    EXPECT_EQ(tap.row.section, 2);
    EXPECT_EQ(tap.row.row, 5);
    EXPECT_TRUE(parsedAs<SetSwitch>(R"({"action":"switch","section":0,"row":0,"on":true})").on);
    EXPECT_FLOAT_EQ(
        parsedAs<SetSlider>(R"({"action":"slider","section":1,"row":0,"value":2.5})").value, 2.5);
    EXPECT_EQ(parsedAs<EndTextEditing>(R"({"action":"text","section":0,"row":1,"text":"Hé"})").text,
              "Hé");
    auto press =
        parsedAs<PressAlertButton>(R"({"action":"alert","alert":0,"button":1,"text":"4"})");
    EXPECT_EQ(press.button, 1);
    EXPECT_EQ(press.text, "4");
    EXPECT_FALSE(parsedAs<PressAlertButton>(R"({"action":"alert","alert":0,"button":0})").text);
    EXPECT_EQ(parsedAs<PressBarButton>(R"({"action":"bar","side":"left"})").side, BarSide::Left);
    parsedAs<GoBack>(R"({"action":"back"})");
    parsedAs<TapBanner>(R"({"action":"banner"})");
    auto touch = parsedAs<TouchView>(R"({"action":"touch","phase":"moved","x":10.5,"y":-3})");
    EXPECT_EQ(touch.phase, TouchPhase::Moved);
    EXPECT_DOUBLE_EQ(touch.point.x, 10.5);
    EXPECT_DOUBLE_EQ(touch.point.y, -3);
}

TEST(PanelAction, RefusesWhatIsNotAnAction)
{
    EXPECT_EQ(refusal("{"), "the action is not JSON");
    EXPECT_EQ(refusal("[1]"), "an action is a JSON object");
    EXPECT_EQ(refusal(R"({"row":1})"), "\"action\" is missing");
    EXPECT_EQ(refusal(R"({"action":"format-disk"})"), "unknown action \"format-disk\"");
    EXPECT_EQ(refusal(R"({"action":3})"), "unknown action 3");
    EXPECT_EQ(refusal(R"({"action":"back","selector":"dealloc"})"),
              "\"back\" takes no member \"selector\"");
}

TEST(PanelAction, RefusesIndexesThatAreNotSmallWholeNumbers)
{
    for (const char *row :
         {"-1", "1.5", "\"3\"", "true", "null", "100001", "18446744073709551615", "1e3"})
        EXPECT_NE(refusal(std::string(R"({"action":"tap","section":0,"row":)") + row + "}"), "")
            << row;
    EXPECT_EQ(refusal(R"({"action":"tap","section":0})"), "\"row\" is missing");
    EXPECT_EQ(parsedAs<TapRow>(R"({"action":"tap","section":0,"row":100000})").row.row, 100000);
}

TEST(PanelAction, RefusesNumbersThatAreNotFinite)
{
    // JSON has no NaN or infinity, and a number too large for a double is no JSON either.
    EXPECT_NE(refusal(R"({"action":"slider","section":0,"row":0,"value":1e999})"), "");
    EXPECT_NE(refusal(R"({"action":"slider","section":0,"row":0,"value":NaN})"), "");
    EXPECT_NE(refusal(R"({"action":"slider","section":0,"row":0,"value":"1"})"), "");
    EXPECT_EQ(refusal(R"({"action":"touch","phase":"began","x":1e6,"y":0})"),
              "\"x\" must be a finite number");
    EXPECT_NE(refusal(R"({"action":"touch","phase":"lifted","x":0,"y":0})"), "");
    EXPECT_NE(refusal(R"({"action":"switch","section":0,"row":0,"on":1})"), "");
}

TEST(PanelAction, BoundsTextsAndBodies)
{
    std::string longest(kMaxTypedTextBytes, 'x');
    EXPECT_EQ(parsedAs<EndTextEditing>(R"({"action":"text","section":0,"row":0,"text":")" +
                                       longest + "\"}")
                  .text,
              longest);
    EXPECT_EQ(refusal(R"({"action":"text","section":0,"row":0,"text":")" + longest + "x\"}"),
              "\"text\" is longer than 1024 bytes");
    // A lone surrogate escape decodes to bytes that are not UTF-8.
    EXPECT_NE(refusal(R"({"action":"text","section":0,"row":0,"text":"\ud800"})"), "");
    std::string padded = R"({"action":"back")" + std::string(kMaxActionBodyBytes, ' ') + "}";
    EXPECT_EQ(refusal(padded), "the action is larger than 16384 bytes");
}
