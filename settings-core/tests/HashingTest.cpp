// The usage report's digests and signature against answers computed with Python's
// hashlib, and the payload that CVDevice and sysctl give on a simulated phone.

#include "SettingsTestSupport.h"

#include "foundation/DeviceProfile.h"
#include "settings-core/CVUsageReporter.h"
#include "settings-core/NSString+CVHashing.h"

#include <regex>

namespace {

using namespace cvtest;

std::string digest(const char *input, const char *selector)
{
    return msg<NSString *>(text(input), sel_registerName(selector))->str();
}

class UsagePayload : public testing::Test {
protected:
    void TearDown() override { sim::DeviceProfile::setCurrent(sim::DeviceProfile{}); }
    AutoreleasePool m_pool;
};

TEST(Hashing, DigestsOfTheUTF8BytesInLowerCaseHexadecimal)
{
    // hashlib.md5(b"").hexdigest() and friends; "Corvane ✓ 3" is hashed as UTF-8.
    AutoreleasePool pool;
    EXPECT_EQ(digest("", "md5String"), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(digest("Corvane \xE2\x9C\x93 3", "md5String"), "7fe790c6ae9df1a8e3383fbe140b0978");
    EXPECT_EQ(digest("Corvane \xE2\x9C\x93 3", "sha1String"),
              "4aa4fc2b6e9bf089b8ebbab6d60487739f40f1ef");
    EXPECT_EQ(digest("Corvane \xE2\x9C\x93 3", "sha256String"),
              "845b2decacab4893c1c3992a84b48216814b89e11e655587e16a3c95d9e416e8");
    EXPECT_EQ(digest("Corvane \xE2\x9C\x93 3", "sha512String"),
              "5b7ab19861a0996c29810692756b6b2d8b48aeb5541253c5f0ee1e555b1618bc"
              "bd00f04e20e7e6474e83c613dae051a3901078a0df5eb6f24ee16e91fb77221d");
}

TEST(Hashing, TheSignatureOfAFixedPayload)
{
    // Computed with hashlib from the report's recipe.
    AutoreleasePool pool;
    NSDictionary *payload = dict({{"p", text("com.kestrelworks.corvane3")},
                                  {"u", text("00112233445566778899aabbccddeeff00112233")},
                                  {"v", text("9.0")},
                                  {"c", text("1240.10")},
                                  {"m", text("iPhone8,1")}});
    NSString *signature =
        msg<NSString *>(CVUsageReporter::class_(), "signatureForPayload:"_sel, payload);
    EXPECT_EQ(signature->str(), "872b7f623379b07553757a90d8a21682c3757083");
    EXPECT_EQ(CVUsageReporter::signatureForPayload(dict({{"p", text("com.kestrelworks.corvane3")}}))
                  ->str(),
              "f046940e3b0def2570da5955d0fe2ddd643503a6")
        << "missing values count as empty text";
}

TEST_F(UsagePayload, SixValuesFromTheDeviceWithTheDigestLast)
{
    sim::DeviceProfile phone;
    phone.coreFoundationVersion = sim::DeviceProfile::kIOS8CoreFoundation;
    phone.uniqueDeviceID = "00112233445566778899aabbccddeeff00112233";
    sim::DeviceProfile::setCurrent(phone);
    std::vector<std::pair<std::string, std::string>> payload;
    for (const auto &[key, value] : *CVUsageReporter::reportPayload())
        payload.emplace_back(sim::describe(key.get()), sim::describe(value.get()));
    ASSERT_EQ(payload.size(), 6u);
    EXPECT_TRUE(std::regex_match(payload.back().second, std::regex("[0-9a-f]{40}")))
        << payload.back().second;
    payload.back().second = "(the digest)";
    EXPECT_EQ(payload, (std::vector<std::pair<std::string, std::string>>{
                           {"p", "com.kestrelworks.corvane3"},
                           {"u", "00112233445566778899aabbccddeeff00112233"},
                           {"v", "8.0"},
                           {"c", "1140.10"},
                           {"m", "iPhone7,2"},
                           {"h", "(the digest)"}}));
}

} // namespace
