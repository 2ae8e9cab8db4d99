// The folders group as installed into SpringBoard: fast opening, the title while editing,
// locked names, folders inside folders, pinching closed, the icon's blur and the backdrop.

#include "springboard-extension/frame/tests/ExtensionTest.h"

#include "foundation/Clock.h"
#include "springboard/CrossfadeViews.h"
#include "springboard/SBFloatyFolderView.h"
#include "springboard/SBFolderIconView.h"
#include "springboard/home-screen/HomeScreenHost.h"
#include "springboard/home-screen/SBFolderBackgroundView.h"
#include "uikit/UIPinchGestureRecognizer.h"

#include <functional>

namespace {

using sim::DeviceProfile;
using sim::SpringBoardHost;
using test::phoneProfile;

// A system release between iOS 7.0 and iOS 8.
constexpr double kIOS7_1CoreFoundation = 847.24;

class Folders : public test::ExtensionTest {
protected:
    Folders() : ExtensionTest({"IconListsInit", "FoldersInit"}) {}

    static SBFolder *extras()
    {
        return static_cast<SBFolderIcon *>(iconController()->folderIcons().at(0))->m_folder;
    }

    static SBFloatyFolderView *openFolderView()
    {
        SBFolderController *open = iconController()->m_openFolderController;
        return open ? static_cast<SBFloatyFolderView *>(open->m_contentView.get()) : nullptr;
    }

    static std::size_t pinchRecognizers(UIView *view)
    {
        std::size_t count = 0;
        if (view->m_gestureRecognizers)
            for (id recognizer : *view->m_gestureRecognizers)
                count += object_getClass(recognizer) == UIPinchGestureRecognizer::class_();
        return count;
    }

    // A second folder after the first page's icons, for dropping folders into folders.
    static SBFolderIcon *addSecondFolder()
    {
        SBIconListView *first = page(0);
        auto folder = StrongRef<SBFolder>::adopt(SBFolder::create("Work", NSArray::array()));
        auto icon = StrongRef<SBFolderIcon>::adopt(SBFolderIcon::create(folder));
        NSMutableArray *icons = NSMutableArray::arrayWithArray(first->m_icons);
        icons->addObject(icon);
        msg<void, NSArray *>(first, "setIcons:"_sel, icons);
        msg<void>(first, "layoutIconsNow"_sel);
        return icon;
    }
};

TEST_F(Folders, NestingTheTitleWhileEditingLockedNamesAndTheUnblurredIcon)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(), "<key>CVFolders</key><dict><key>hideTitle</key><true/>"
                                        "<key>unblurredIconBackground</key><true/></dict>");
    SpringBoardHost::unlock();
    // A folder goes into another only with nested folders.
    SBFolder *folder = extras();
    SBFolderIcon *work = addSecondFolder();
    SpringBoardHost::setEditing(true);
    EXPECT_EQ(sim::HomeScreenHost::dragIcon("Work", "Extras"), "");
    EXPECT_TRUE(page(0)->m_icons->containsObject(work)) << "SpringBoard keeps folders out";

    gCVFolders.nestedFolders = true;
    EXPECT_EQ(sim::HomeScreenHost::dragIcon("Work", "Extras"), "");
    EXPECT_EQ(folder->m_icons->lastObject(), work);
    SpringBoardHost::setEditing(false);

    auto *icon = static_cast<SBFolderIconView *>(
        iconController()->m_iconViewMap->mappedIconViewForIcon(iconController()->folderIcons()[0]));
    icon->followWallpaper();
    EXPECT_NEAR(icon->m_backgroundView->m_backgroundColor->m_alpha, 0.3, 1e-9);
    gCVFolders.unblurredIconBackground = false;
    icon->followWallpaper();
    EXPECT_EQ(icon->m_backgroundView->m_backgroundColor->m_alpha, 1) << "the wallpaper, tinted";

    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    UITextField *title = openFolderView()->m_titleTextField;
    EXPECT_TRUE(title->isHidden());
    SpringBoardHost::setEditing(true);
    msg<void>(openFolderView(), "layoutSubviews"_sel);
    EXPECT_FALSE(title->isHidden()) << "a layout pass while editing keeps it shown";
    SpringBoardHost::setEditing(false);
    EXPECT_TRUE(title->isHidden());

    gCVFolders.lockFolderNames = true;
    EXPECT_FALSE(msg<BOOL>(extras(), "canEditDisplayName"_sel));
    SpringBoardHost::setEditing(true);
    EXPECT_FALSE(title->m_userInteractionEnabled);
}

TEST_F(Folders, FastOpenSkipsTheAnimationAndStillCompletesAndAPinchCloses)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    launchWithExtension(phoneProfile(), "<key>CVFolders</key><dict><key>fastOpen</key><true/>"
                                        "</dict>");
    SpringBoardHost::unlock();
    bool done = false;
    auto animate = [&done](BOOL open) {
        done = false;
        msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
            iconController(), "_animateFolder:open:animated:withCompletion:"_sel, extras(), open,
            YES, [&done] { done = true; });
    };
    animate(YES);
    EXPECT_TRUE(done) << "no animation: the completion runs at once";
    EXPECT_EQ(openFolderView()->alpha(), 1);
    animate(NO);
    EXPECT_TRUE(done);
    EXPECT_EQ(openFolderView(), nullptr);
    gCVFolders.fastOpen = false;
    animate(YES);
    EXPECT_FALSE(done) << "animated: the completion waits for the crossfade";
    sim::advanceVirtualClock(sim::kFolderCrossfadeDuration + 0.05);
    EXPECT_TRUE(done);

    EXPECT_EQ(pinchRecognizers(openFolderView()), 0u) << "no pinch without the option";
    SpringBoardHost::closeFolder();
    gCVFolders.pinchToClose = true;
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    SBFloatyFolderView *view = openFolderView();
    msg<void>(view, "_configureGestures"_sel);
    SpringBoardHost::rotate(3);
    EXPECT_EQ(pinchRecognizers(view), 1u) << "configured three times, one pinch";
    EXPECT_EQ(sim::HomeScreenHost::pinchOpenFolder(), "");
    sim::advanceVirtualClock(1);
    EXPECT_EQ(openFolderView(), nullptr);
}

// The open folder's backdrop: SpringBoard's light one, none when transparent, dark from
// iOS 7.1 on.
struct Backdrop {
    double system;
    const char *settings;
    const char *style;
};

class FolderBackdrop : public Folders, public testing::WithParamInterface<Backdrop> {};

TEST_P(FolderBackdrop, FollowsTheOptionsWhereTheSystemHasTheStyle)
{
    RUN_IN_PROCESS_OF_ITS_OWN();
    std::string settings =
        std::string("<key>CVFolders</key><dict>") + GetParam().settings + "</dict>";
    launchWithExtension(phoneProfile(GetParam().system), settings.c_str());
    SpringBoardHost::unlock();
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    EXPECT_EQ(static_cast<SBFolderBackgroundView *>(openFolderView()->m_panelView.get())->m_style,
              std::string(GetParam().style));
}

constexpr const char *kDark = "<key>darkBackground</key><true/>";
constexpr const char *kTransparentAndDark =
    "<key>transparentBackground</key><true/><key>darkBackground</key><true/>";

INSTANTIATE_TEST_SUITE_P(
    Systems, FolderBackdrop,
    testing::Values(Backdrop{DeviceProfile::kIOS9CoreFoundation, "", "light"},
                    Backdrop{DeviceProfile::kIOS9CoreFoundation, kTransparentAndDark, "none"},
                    Backdrop{DeviceProfile::kIOS7CoreFoundation, kTransparentAndDark, "none"},
                    Backdrop{DeviceProfile::kIOS9CoreFoundation, kDark, "dark"},
                    Backdrop{kIOS7_1CoreFoundation, kDark, "dark"},
                    Backdrop{DeviceProfile::kIOS7CoreFoundation, kDark, "light"}));

} // namespace
