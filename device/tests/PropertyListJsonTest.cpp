// Settings values between property lists and the device tool's JSON.

#include "PropertyListJson.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

class PropertyListJson : public testing::Test {
    AutoreleasePool m_pool;
};

TEST_F(PropertyListJson, KindsMapNaturally)
{
    NSDictionary *settings = NSDictionary::dictionaryWithObjectsForKeys({
        {"enabled"_ns, kCFBooleanTrue},
        {"iconColumns"_ns, NSNumber::numberWithUnsignedChar(5)},
        {"effect"_ns, NSNumber::numberWithInt(-1)},
        {"flowFactor"_ns, NSNumber::numberWithFloat(1.45f)},
        {"timeColor"_ns, NSArray::arrayWithObjects({NSNumber::numberWithUnsignedChar(255),
                                                    NSNumber::numberWithUnsignedChar(0)})},
        {"carrierString"_ns, "Kestrel"_ns},
    });
    nlohmann::json json = sim::jsonFromPropertyList(settings);
    EXPECT_EQ(
        json.dump(),
        R"({"carrierString":"Kestrel","effect":-1,"enabled":true,"flowFactor":1.4500000476837158,"iconColumns":5,"timeColor":[255,0]})");
}

TEST_F(PropertyListJson, CommandLineValuesAreJsonOrBareWordsAndJsonBecomesPropertyLists)
{
    EXPECT_EQ(sim::parseCommandLineValue("true"), nlohmann::json(true));
    EXPECT_EQ(sim::parseCommandLineValue("5"), nlohmann::json(5));
    EXPECT_EQ(sim::parseCommandLineValue("\"text\""), nlohmann::json("text"));
    EXPECT_EQ(sim::parseCommandLineValue("[255,0,0,1]"), nlohmann::json({255, 0, 0, 1}));
    EXPECT_EQ(sim::parseCommandLineValue("Helvetica"), nlohmann::json("Helvetica"));
    EXPECT_EQ(sim::parseCommandLineValue("{broken"), nlohmann::json("{broken"));

    // JSON becomes property lists of the right kinds; null has none.
    id value =
        sim::propertyListFromJson(nlohmann::json::parse(R"({"a": [true, 3, 2.5, "x"], "b": {}})"));
    ASSERT_NE(value, nullptr);
    auto *dictionary = static_cast<NSDictionary *>(value);
    auto *array = static_cast<NSArray *>(dictionary->objectForKey("a"_ns));
    ASSERT_EQ(array->count(), 4u);
    EXPECT_TRUE(static_cast<NSNumber *>(array->objectAtIndex(0))->isBoolean());
    EXPECT_FALSE(static_cast<NSNumber *>(array->objectAtIndex(1))->isReal());
    EXPECT_TRUE(static_cast<NSNumber *>(array->objectAtIndex(2))->isReal());
    EXPECT_EQ(sim::propertyListFromJson(nullptr), nullptr);
    EXPECT_EQ(sim::propertyListFromJson(nlohmann::json::parse(R"([1, null])")), nullptr);
}

} // namespace
