#include "FrameTestSupport.h"

#include "foundation/Clock.h"
#include "foundation/DeviceRoot.h"
#include "foundation/dispatch.h"
#include "objc/ClassBuilder.h"
#include "uikit/UIApplication.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <optional>

namespace fake {

namespace {

id sharedInstance(id cls, SEL)
{
    static id const controller = sim::create(reinterpret_cast<Class>(cls));
    return controller;
}

// A press of the home button starts an interface animation, whose controller notes its
// end as SpringBoard's do.
void clickedMenuButton(id, SEL)
{
    ++events().homeButtonPresses;
    id controller = sim::create(objc_getClass("SBUIAnimationController"));
    auto duration = static_cast<std::int64_t>(kInterfaceAnimationDuration * NSEC_PER_SEC);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, duration), dispatch_get_main_queue(),
                   [controller] {
                       if (class_respondsToSelector(object_getClass(controller),
                                                    "_noteAnimationDidFinish"_sel))
                           msg<void>(controller, "_noteAnimationDidFinish"_sel);
                       objc_release(controller);
                   });
}

void noteAnimationDidFinish(id, SEL) {}

void relaunchSpringBoardNow(id, SEL)
{
    events().relaunches.push_back(sim::now());
}

void registerClasses(bool notesAnimationEnds)
{
    ClassBuilder<UIView>("SBIconListView", "UIView").registerClass();
    ClassBuilder<UIView>("SBDockIconListView", "SBIconListView").registerClass();
    ClassBuilder<UIView>("SBFolderIconListView", "SBIconListView").registerClass();
    ClassBuilder<UIView>("SBIconView", "UIView").registerClass();
    ClassBuilder<NSObject>("SBUIController", "NSObject")
        .classMethod("sharedInstance", sharedInstance)
        .method("clickedMenuButton", clickedMenuButton)
        .registerClass();
    ClassBuilder<NSObject> base("SBUIBaseAnimationController", "NSObject");
    if (notesAnimationEnds)
        base.method("_noteAnimationDidFinish", noteAnimationDidFinish);
    base.registerClass();
    ClassBuilder<NSObject>("SBUIAnimationController", "SBUIBaseAnimationController")
        .registerClass();
    class_addMethod(UIApplication::class_(), "_relaunchSpringBoardNow"_sel,
                    reinterpret_cast<IMP>(relaunchSpringBoardNow), "v@:");
}

// One recorder per table row; kMaxInstallers bounds the table the recorders can cover.
constexpr std::size_t kMaxInstallers = 32;

template <std::size_t Row> void recordInstaller()
{
    RecordingInstallers::called().push_back(CVFeatureInstallers()[Row].name);
}

template <std::size_t... Row>
constexpr std::array<void (*)(), kMaxInstallers> makeRecorders(std::index_sequence<Row...>)
{
    return {&recordInstaller<Row>...};
}

constexpr auto kRecorders = makeRecorders(std::make_index_sequence<kMaxInstallers>{});

} // namespace

SpringBoardEvents &events()
{
    static SpringBoardEvents recorded;
    return recorded;
}

void registerSpringBoard(bool notesAnimationEnds)
{
    static std::optional<bool> registeredKind;
    if (!registeredKind) {
        registerClasses(notesAnimationEnds);
        registeredKind = notesAnimationEnds;
    }
    ASSERT_EQ(*registeredKind, notesAnimationEnds) << "one SpringBoard per process";
}

RecordingInstallers::RecordingInstallers()
{
    called().clear();
    std::span<CVInstaller> table = CVFeatureInstallers();
    EXPECT_LE(table.size(), kMaxInstallers);
    for (std::size_t row = 0; row < table.size() && row < kMaxInstallers; ++row) {
        m_replaced.push_back(table[row].install);
        table[row].install = kRecorders[row];
    }
}

RecordingInstallers::~RecordingInstallers()
{
    std::span<CVInstaller> table = CVFeatureInstallers();
    for (std::size_t row = 0; row < m_replaced.size(); ++row)
        table[row].install = m_replaced[row];
}

std::vector<std::string> &RecordingInstallers::called()
{
    static std::vector<std::string> names;
    return names;
}

std::vector<std::string> namesOf(const std::vector<const CVInstaller *> &installers)
{
    std::vector<std::string> names;
    for (const CVInstaller *installer : installers)
        names.push_back(installer->name);
    return names;
}

void writeSettingsFile(const char *xmlDictionaryBody)
{
    ASSERT_TRUE(sim::makeDirectories(sim::hostPath("/var/mobile/Library/Preferences")));
    std::ofstream file(
        sim::hostPath("/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist"));
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<plist version=\"1.0\">\n<dict>\n"
         << xmlDictionaryBody << "\n</dict>\n</plist>\n";
    ASSERT_TRUE(file.good());
}

} // namespace fake
