// The interface as the page sees it (panelState) and drives it (applyPanelAction), on the
// sample panel.

#include "BrowserScreenTest.h"
#include "PanelDriver.h"
#include "PanelState.h"

#include "uikit/UIAlertView.h"
#include "uikit/UILabel.h"
#include "uikit/UITapGestureRecognizer.h"

#include <nlohmann/json.hpp>
#include <openssl/evp.h>

using nlohmann::json;
using namespace sim;

namespace {

int g_barPresses = 0;
int g_bannerTaps = 0;
std::vector<std::pair<NSInteger, std::string>> g_alertAnswers; // button, text typed

struct Receiver : NSObject {};

void barPressed(Receiver *, SEL, id)
{
    ++g_barPresses;
}

void bannerTapped(Receiver *, SEL, id)
{
    ++g_bannerTaps;
}

void alertAnswered(Receiver *, SEL, UIAlertView *alert, NSInteger button)
{
    NSString *text =
        alert->m_textField ? msg<NSString *>(alert->m_textField.get(), "text"_sel) : nil;
    g_alertAnswers.emplace_back(button, text ? text->str() : "");
}

Receiver *receiver()
{
    static Receiver *const made = [] {
        ClassBuilder<Receiver>("PanelTestReceiver", "NSObject")
            .method("barPressed:", barPressed)
            .method("bannerTapped:", bannerTapped)
            .method("alertView:clickedButtonAtIndex:", alertAnswered)
            .registerClass();
        return sim::create<Receiver>(objc_getClass("PanelTestReceiver"));
    }();
    return made;
}

// The width and height a PNG data URL's header gives.
std::pair<unsigned, unsigned> pixelSizeOf(const json &url)
{
    std::string base64 = url.get<std::string>();
    base64 = base64.substr(base64.find(',') + 1, 32);
    unsigned char header[24];
    EVP_DecodeBlock(header, reinterpret_cast<const unsigned char *>(base64.data()), 32);
    auto word = [&](int at) {
        return unsigned(header[at]) << 24 | unsigned(header[at + 1]) << 16 |
               unsigned(header[at + 2]) << 8 | header[at + 3];
    };
    return {word(16), word(20)};
}

class PanelTest : public BrowserScreenTest {
protected:
    void SetUp() override
    {
        BrowserScreenTest::SetUp();
        g_barPresses = 0;
        g_bannerTaps = 0;
        g_alertAnswers.clear();
        sample::panel().values["enabled"] = kCFBooleanFalse;
        sample::panel().values["scale"] = NSNumber::numberWithFloat(2);
        sample::panel().values["label"] = "Hello"_ns;
        controller = showPanel();
    }

    // Applies the action and runs the turn after it, as the application's loop does.
    std::optional<std::string> apply(const PanelAction &action)
    {
        std::optional<std::string> refusal = applyPanelAction(action);
        runOneTurn();
        return refusal;
    }

    json rowAt(std::size_t section, std::size_t row)
    {
        return panelState()["page"]["sections"][section]["rows"][row];
    }

    PSRootController *controller = nil;
};

} // namespace

TEST_F(PanelTest, DescribesTheRowsOfThePageShown)
{
    json state = panelState();
    EXPECT_EQ(state["navigation"]["back"], nullptr);
    EXPECT_EQ(state["alerts"], json::array());
    EXPECT_EQ(state["banner"], nullptr);
    ASSERT_EQ(state["page"]["kind"], "table");
    const json &sections = state["page"]["sections"];
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0]["header"], nullptr);
    EXPECT_EQ(sections[1]["header"], "Sizes");
    EXPECT_EQ(sections[1]["footer"], "Pick a size.");

    const json &toggle = sections[0]["rows"][0];
    EXPECT_EQ(toggle["title"], "Enabled");
    EXPECT_EQ(toggle["control"], (json{{"kind", "switch"}, {"on", false}}));
    EXPECT_FALSE(toggle["tappable"]);

    ASSERT_EQ(sections[1]["rows"].size(), 3u);
    EXPECT_EQ(
        sections[1]["rows"][0]["control"],
        (json{{"kind", "slider"}, {"value", 2}, {"min", 1}, {"max", 3}, {"showValue", true}}));
    EXPECT_TRUE(sections[1]["rows"][0]["tappable"]);
    EXPECT_EQ(sections[1]["rows"][1]["control"],
              (json{{"kind", "text"}, {"text", "Hello"}, {"placeholder", "Type here"}}));
    const json &link = sections[1]["rows"][2];
    EXPECT_EQ(link["title"], "Drawing");
    EXPECT_EQ(link["accessory"], "disclosure");
    EXPECT_EQ(link["control"], nullptr);
    EXPECT_EQ(link["font"], nullptr);
}

TEST_F(PanelTest, ControlsChangedByThePageReachTheRowsSetters)
{
    EXPECT_FALSE(apply(SetSwitch{{0, 0}, true}));
    EXPECT_EQ(rowAt(0, 0)["control"]["on"], true);
    EXPECT_FALSE(apply(SetSlider{{1, 0}, 2.5}));
    EXPECT_FALSE(apply(EndTextEditing{{1, 1}, "Bonjour"}));
    auto &writes = sample::panel().writes;
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].first, "enabled");
    EXPECT_TRUE(static_cast<NSNumber *>(writes[0].second.get())->boolValue());
    EXPECT_FLOAT_EQ(static_cast<NSNumber *>(writes[1].second.get())->floatValue(), 2.5f);
    EXPECT_EQ(static_cast<NSString *>(writes[2].second.get())->str(), "Bonjour");
    EXPECT_EQ(rowAt(1, 1)["control"]["text"], "Bonjour");
}

TEST_F(PanelTest, ValuesThatChangeNothingSendNothingAndSlidersClamp)
{
    EXPECT_FALSE(apply(SetSwitch{{0, 0}, false}));
    EXPECT_FALSE(apply(SetSlider{{1, 0}, 2}));
    EXPECT_TRUE(sample::panel().writes.empty());
    EXPECT_FALSE(apply(SetSlider{{1, 0}, 1e30}));
    ASSERT_EQ(sample::panel().writes.size(), 1u);
    EXPECT_FLOAT_EQ(static_cast<NSNumber *>(sample::panel().writes[0].second.get())->floatValue(),
                    3.f);
    EXPECT_EQ(rowAt(1, 0)["control"]["value"], 3);
}

TEST_F(PanelTest, RefusesActionsThatPointAtNothing)
{
    EXPECT_EQ(apply(TapRow{{2, 0}}), "section 2 is not on this page (it has 2)");
    EXPECT_EQ(apply(SetSwitch{{1, 3}, true}), "row 3 is not in section 1 (it has 3)");
    EXPECT_EQ(apply(SetSwitch{{1, 0}, true}), "row 0 of section 1 has no switch");
    EXPECT_EQ(apply(SetSlider{{0, 0}, 1}), "row 0 of section 0 has no slider");
    EXPECT_EQ(apply(EndTextEditing{{0, 0}, "x"}), "row 0 of section 0 has no text field");
    EXPECT_EQ(apply(GoBack{}), "there is no page to go back to");
    EXPECT_EQ(apply(PressBarButton{BarSide::Left}), "the navigation bar has no left button");
    EXPECT_EQ(apply(PressAlertButton{0, 0, std::nullopt}), "alert 0 is not shown");
    EXPECT_EQ(apply(TouchView{TouchPhase::Began, {10, 10}}), "this page takes no touches");
    EXPECT_EQ(apply(TapBanner{}), "no banner is shown");
    EXPECT_TRUE(sample::panel().writes.empty());
}

TEST_F(PanelTest, DrawnPagesAreImagesThatTakeTouchesAtViewCoordinates)
{
    EXPECT_FALSE(apply(TapRow{{1, 2}}));
    json state = panelState();
    // Settings pages are titled after the row that opened them: the root page, "Corvane".
    EXPECT_EQ(state["navigation"]["title"], "Drawing");
    EXPECT_EQ(state["navigation"]["back"], "Corvane");
    ASSERT_EQ(state["page"]["kind"], "view");
    // The page's view fills the screen below the status bar (20) and the navigation bar (44).
    EXPECT_EQ(state["page"]["width"], 320);
    EXPECT_EQ(state["page"]["height"], 568 - 20 - 44);
    EXPECT_TRUE(
        state["page"]["image"].get<std::string>().starts_with("data:image/png;base64,iVBOR"));
    // At the screen's two pixels a point, unless the page asks for fewer.
    EXPECT_EQ(pixelSizeOf(state["page"]["image"]), (std::pair{640u, 1008u}));
    EXPECT_EQ(pixelSizeOf(panelState(1)["page"]["image"]), (std::pair{320u, 504u}));
    EXPECT_EQ(pixelSizeOf(panelState(3)["page"]["image"]), (std::pair{640u, 1008u}));

    EXPECT_FALSE(apply(TouchView{TouchPhase::Began, {100, 50}}));
    EXPECT_FALSE(apply(TouchView{TouchPhase::Moved, {120, 60}}));
    EXPECT_FALSE(apply(TouchView{TouchPhase::Ended, {130, 70}}));
    const auto &touches = sample::panel().touches;
    ASSERT_EQ(touches.size(), 3u);
    EXPECT_EQ(touches[0].first, "began");
    EXPECT_DOUBLE_EQ(touches[0].second.x, 100);
    EXPECT_DOUBLE_EQ(touches[2].second.y, 70);

    EXPECT_FALSE(apply(GoBack{}));
    EXPECT_EQ(panelState()["page"]["kind"], "table");
}

TEST_F(PanelTest, BarButtonsAreTitledAndPressed)
{
    auto *page = msg<UIViewController *>(controller, "topViewController"_sel);
    auto *button = static_cast<UIBarButtonItem *>(msg<id>(UIBarButtonItem::class_(), "alloc"_sel));
    button = msg<UIBarButtonItem *, NSString *, UIBarButtonItemStyle, id, SEL>(
        button, "initWithTitle:style:target:action:"_sel, "Respring"_ns, UIBarButtonItemStylePlain,
        receiver(), "barPressed:"_sel);
    msg<void>(msg<id>(page, "navigationItem"_sel), "setRightBarButtonItem:"_sel, button);
    objc_release(button);
    EXPECT_EQ(panelState()["navigation"]["right"], "Respring");
    EXPECT_FALSE(apply(PressBarButton{BarSide::Right}));
    EXPECT_EQ(g_barPresses, 1);
}

TEST_F(PanelTest, AlertsAreListedAndAnsweredWithTheirText)
{
    id alert = msg<id>(UIAlertView::class_(), "alloc"_sel);
    alert = msg<id, NSString *, NSString *, id, NSString *, NSString *>(
        alert, "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel,
        "Corvane"_ns, "Type a value."_ns, receiver(), "Cancel"_ns, "Set"_ns);
    msg<void, UIAlertViewStyle>(alert, "setAlertViewStyle:"_sel, UIAlertViewStylePlainTextInput);
    msg<void>(msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0), "setText:"_sel, "2"_ns);
    msg<void>(alert, "show"_sel);
    objc_release(alert);

    json alerts = panelState()["alerts"];
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], (json{{"title", "Corvane"},
                               {"message", "Type a value."},
                               {"buttons", {"Cancel", "Set"}},
                               {"field", {{"text", "2"}, {"placeholder", ""}}}}));
    EXPECT_EQ(apply(PressAlertButton{0, 2, std::nullopt}), "the alert has no button 2");
    EXPECT_FALSE(apply(PressAlertButton{0, 1, "2.75"}));
    ASSERT_EQ(g_alertAnswers.size(), 1u);
    EXPECT_EQ(g_alertAnswers[0], (std::pair<NSInteger, std::string>(1, "2.75")));
    EXPECT_EQ(panelState()["alerts"], json::array());
}

TEST_F(PanelTest, TheBannerOverTheStatusBarShowsItsTextAndTakesTaps)
{
    id made = msg<id>(UIWindow::class_(), "alloc"_sel);
    made = msg<id, CGRect>(made, "initWithFrame:"_sel, CGRectMake(0, 0, 320, 20));
    StrongRef<UIWindow> banner = StrongRef<UIWindow>::adopt(static_cast<UIWindow *>(made));
    msg<void, CGFloat>(banner.get(), "setWindowLevel:"_sel, UIWindowLevelStatusBar + 10);
    id label = msg<id>(UILabel::class_(), "alloc"_sel);
    label = msg<id, CGRect>(label, "initWithFrame:"_sel, CGRectMake(0, 0, 320, 20));
    msg<void>(label, "setText:"_sel, "Settings Changed, tap to apply"_ns);
    msg<void>(banner.get(), "addSubview:"_sel, label);
    objc_release(label);
    id tap = msg<id>(UITapGestureRecognizer::class_(), "alloc"_sel);
    tap = msg<id, id, SEL>(tap, "initWithTarget:action:"_sel, receiver(), "bannerTapped:"_sel);
    msg<void>(banner.get(), "addGestureRecognizer:"_sel, tap);
    objc_release(tap);
    msg<void, BOOL>(banner.get(), "setHidden:"_sel, NO);

    EXPECT_EQ(panelState()["banner"], (json{{"text", "Settings Changed, tap to apply"}}));
    EXPECT_FALSE(apply(TapBanner{}));
    EXPECT_EQ(g_bannerTaps, 1);
    msg<void, BOOL>(banner.get(), "setHidden:"_sel, YES);
    EXPECT_EQ(panelState()["banner"], nullptr);
}
