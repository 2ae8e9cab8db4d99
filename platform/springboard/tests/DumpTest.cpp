// What the device tool reads off the screen: view trees as JSON, alerts and screenshots.

#include "SpringBoardTest.h"

#include "foundation/DeviceRoot.h"
#include "quartzcore/CAFilter.h"
#include "springboard/ViewDumpAttributes.h"
#include "uikit/PNGCodec.h"
#include "uikit/UIAlertView.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using nlohmann::json;
using sim::SpringBoardHost;

// The first node of the tree, depth first, for which `matches` holds; null when none.
template <class Predicate> const json *findNode(const json &node, Predicate matches)
{
    if (matches(node))
        return &node;
    if (node.contains("children"))
        for (const json &child : node["children"])
            if (const json *found = findNode(child, matches))
                return found;
    return nullptr;
}

const json *nodeWithText(const json &windows, const std::string &text)
{
    for (const json &window : windows)
        if (const json *found =
                findNode(window, [&](const json &node) { return node.value("text", "") == text; }))
            return found;
    return nullptr;
}

class Dumps : public test::SpringBoardTest {};

TEST_F(Dumps, EveryVisibleWindowFromTheBottomWithItsViewTreeTextsAndImages)
{
    launch();
    SpringBoardHost::unlock();
    json windows = SpringBoardHost::dumpWindows();

    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0]["level"], -2);
    EXPECT_EQ(windows[1]["level"], 0);
    EXPECT_EQ(windows[2]["level"], 1000);
    const json &home = windows[1];
    EXPECT_EQ(home["class"], "UIWindow");
    EXPECT_EQ(home["frame"], json::array({0, 0, 375, 667}));
    EXPECT_EQ(home["children"][0]["class"], "SBRootFolderView");
    for (const char *key : {"class", "frame", "bounds", "center", "alpha", "hidden", "tag"})
        EXPECT_TRUE(home.contains(key)) << key;
    EXPECT_FALSE(home.contains("transform"));
    EXPECT_FALSE(home.contains("sublayerTransform"));
    EXPECT_FALSE(home.contains("text"));
    EXPECT_FALSE(home.contains("image"));
    EXPECT_FALSE(home.contains("filters"));

    // Views showing text or images say what.
    const json *label = nodeWithText(windows, "Weather");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ((*label)["class"], "UILabel");
    std::string font = (*label)["font"];
    EXPECT_TRUE(font.ends_with(" 12")) << font;
    EXPECT_FALSE(label->contains("children"));

    const json *icon = findNode(windows[1], [](const json &node) {
        return node.contains("image") && node["image"] == json::array({60, 60});
    });
    EXPECT_NE(icon, nullptr);
    EXPECT_NE(nodeWithText(windows, "10:00 AM"), nullptr);

    // Attributes reach a class and its subclasses, the superclass's first; filters are named.
    sim::addViewDumpAttributes("UIView", [](UIView *, json &node) { node["probe"] = "view"; });
    sim::addViewDumpAttributes("SBRootFolderView",
                               [](UIView *, json &node) { node["probe"] = "root"; });
    rootFolderView()->layer()->setFilters(
        NSArray::arrayWithObjects({CAFilter::filterWithName("gaussianBlur"_ns)}));
    windows = SpringBoardHost::dumpWindows();
    sim::addViewDumpAttributes("UIView", [](UIView *, json &) {});
    sim::addViewDumpAttributes("SBRootFolderView", [](UIView *, json &) {});

    EXPECT_EQ(windows[1]["children"][0]["filters"], json::array({"gaussianBlur"}));
    EXPECT_EQ(windows[1]["probe"], "view");
    EXPECT_EQ(windows[1]["children"][0]["probe"], "root");
    EXPECT_FALSE(SpringBoardHost::dumpWindows()[1].contains("probe"));
}

TEST_F(Dumps, AScrollViewsBoundsOriginIsItsContentOffset)
{
    launch(test::phoneProfile(sim::DeviceProfile::kIOS8CoreFoundation));
    SpringBoardHost::unlock();
    SpringBoardHost::swipePages(1, false);
    json windows = SpringBoardHost::dumpWindows();

    const json *pages =
        findNode(windows[1], [](const json &node) { return node["class"] == "UIScrollView"; });
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ((*pages)["bounds"], json::array({375, 0, 375, 571}));
}

TEST_F(Dumps, AScreenshotIsAPNGOfTheWholeScreenAndAlertsAreListed)
{
    launch();
    std::string path = sim::hostPath("/tmp-screenshot.png");
    ASSERT_TRUE(SpringBoardHost::screenshot(path));

    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    auto image = StrongRef<CGImage>::adopt(sim::createImageFromPNG(bytes.data(), bytes.size()));
    ASSERT_TRUE(image);
    EXPECT_EQ(CGImageGetWidth(image), 750u);
    EXPECT_EQ(CGImageGetHeight(image), 1334u);
    std::filesystem::remove(path);

    EXPECT_FALSE(SpringBoardHost::screenshot(sim::hostPath("/no/such/directory/shot.png")));

    // Alerts on screen are listed with their buttons.
    EXPECT_EQ(SpringBoardHost::dumpAlerts(), json::array());
    id alert = msg<id>(UIAlertView::class_(), "alloc"_sel);
    alert = msg<id, NSString *, NSString *, id, NSString *, NSString *>(
        alert, "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel,
        "Corvane"_ns, "Not supported."_ns, nil, "Cancel"_ns, nil);
    msg<void>(alert, "show"_sel);

    json alerts = SpringBoardHost::dumpAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], (json{{"title", "Corvane"},
                               {"message", "Not supported."},
                               {"buttons", json::array({"Cancel"})}}));
    sim::pressAlertButton(static_cast<UIAlertView *>(alert), 0);
    objc_release(alert);
}

} // namespace
