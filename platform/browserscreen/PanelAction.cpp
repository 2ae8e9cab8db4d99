#include "PanelAction.h"

#include "foundation/NSString.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>
#include <map>
#include <set>

using nlohmann::json;

namespace sim {

namespace {

// A malformed member stops parsing with this message.
struct BadAction {
    std::string message;
};

const json &member(const json &object, const char *name)
{
    auto found = object.find(name);
    if (found == object.end())
        throw BadAction{std::string("\"") + name + "\" is missing"};
    return *found;
}

long index(const json &object, const char *name)
{
    const json &value = member(object, name);
    if (!value.is_number_integer() || value.get<long long>() < 0 ||
        value.get<long long>() > kMaxIndex)
        throw BadAction{std::string("\"") + name + "\" must be a whole number from 0 to " +
                        std::to_string(kMaxIndex)};
    return static_cast<long>(value.get<long long>());
}

double finiteNumber(const json &object, const char *name, double bound)
{
    const json &value = member(object, name);
    if (!value.is_number() || !std::isfinite(value.get<double>()) ||
        std::fabs(value.get<double>()) > bound)
        throw BadAction{std::string("\"") + name + "\" must be a finite number"};
    return value.get<double>();
}

bool boolean(const json &object, const char *name)
{
    const json &value = member(object, name);
    if (!value.is_boolean())
        throw BadAction{std::string("\"") + name + "\" must be true or false"};
    return value.get<bool>();
}

std::string text(const json &value, const char *name)
{
    if (!value.is_string())
        throw BadAction{std::string("\"") + name + "\" must be a string"};
    const std::string &text = value.get_ref<const std::string &>();
    if (text.size() > kMaxTypedTextBytes)
        throw BadAction{std::string("\"") + name + "\" is longer than " +
                        std::to_string(kMaxTypedTextBytes) + " bytes"};
    if (!isValidUTF8(text))
        throw BadAction{std::string("\"") + name + "\" is not valid UTF-8"};
    return text;
}

template <class Choice>
Choice oneOf(const json &object, const char *name, const std::map<std::string, Choice> &choices)
{
    const json &value = member(object, name);
    if (value.is_string())
        if (auto found = choices.find(value.get<std::string>()); found != choices.end())
            return found->second;
    std::string names;
    for (const auto &[choice, _] : choices)
        names += (names.empty() ? "" : ", ") + choice;
    throw BadAction{std::string("\"") + name + "\" must be one of " + names};
}

RowAddress rowAddress(const json &object)
{
    return {index(object, "section"), index(object, "row")};
}

struct ActionSyntax {
    std::set<std::string> members; // besides "action"
    std::function<PanelAction(const json &)> build;
};

const std::map<std::string, ActionSyntax> &actionSyntaxes()
{
    static const std::map<std::string, ActionSyntax> kSyntaxes = {
        {"tap", {{"section", "row"}, [](const json &o) { return TapRow{rowAddress(o)}; }}},
        {"switch",
         {{"section", "row", "on"},
          [](const json &o) {
              return SetSwitch{rowAddress(o), boolean(o, "on")};
          }}},
        {"slider",
         {{"section", "row", "value"},
          [](const json &o) {
              return SetSlider{rowAddress(o), finiteNumber(o, "value", HUGE_VAL)};
          }}},
        {"text",
         {{"section", "row", "text"},
          [](const json &o) {
              return EndTextEditing{rowAddress(o), text(member(o, "text"), "text")};
          }}},
        {"alert",
         {{"alert", "button", "text"},
          [](const json &o) {
              PressAlertButton press{index(o, "alert"), index(o, "button"), std::nullopt};
              if (o.contains("text"))
                  press.text = text(o["text"], "text");
              return press;
          }}},
        {"bar",
         {{"side"},
          [](const json &o) {
              return PressBarButton{
                  oneOf<BarSide>(o, "side", {{"left", BarSide::Left}, {"right", BarSide::Right}})};
          }}},
        {"back", {{}, [](const json &) { return GoBack{}; }}},
        {"touch",
         {{"phase", "x", "y"},
          [](const json &o) {
              TouchPhase phase = oneOf<TouchPhase>(o, "phase",
                                                   {{"began", TouchPhase::Began},
                                                    {"moved", TouchPhase::Moved},
                                                    {"ended", TouchPhase::Ended}});
              return TouchView{
                  phase,
                  {finiteNumber(o, "x", kMaxCoordinate), finiteNumber(o, "y", kMaxCoordinate)}};
          }}},
        {"banner", {{}, [](const json &) { return TapBanner{}; }}},
    };
    return kSyntaxes;
}

PanelAction actionFrom(const json &object)
{
    if (!object.is_object())
        throw BadAction{"an action is a JSON object"};
    const json &name = member(object, "action");
    auto syntax =
        name.is_string() ? actionSyntaxes().find(name.get<std::string>()) : actionSyntaxes().end();
    if (syntax == actionSyntaxes().end())
        throw BadAction{"unknown action " + name.dump()};
    for (const auto &[key, _] : object.items())
        if (key != "action" && !syntax->second.members.count(key))
            throw BadAction{"\"" + name.get<std::string>() + "\" takes no member \"" + key + "\""};
    return syntax->second.build(object);
}

} // namespace

ParsedAction parsePanelAction(std::string_view body)
{
    if (body.size() > kMaxActionBodyBytes)
        return {std::nullopt,
                "the action is larger than " + std::to_string(kMaxActionBodyBytes) + " bytes"};
    json object = json::parse(body, nullptr, false);
    if (object.is_discarded())
        return {std::nullopt, "the action is not JSON"};
    try {
        return {actionFrom(object), {}};
    } catch (const BadAction &bad) {
        return {std::nullopt, bad.message};
    }
}

} // namespace sim
