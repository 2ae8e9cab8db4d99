// The folders group as installed into SpringBoard: fast opening, the title while editing,
// locked names, folders inside folders, pinching closed, the folder icon's blur and the
// open folder's backdrop on iOS 7.0, 7.1 and later.

#include "HomeScreenTest.h"
#include "springboard-extension/frame/tests/OwnProcess.h"

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

class Folders : public test::HomeScreenTest {
protected:
    Folders() : HomeScreenTest({"IconListsInit", "FoldersInit"}) {}

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

TEST_F(Folders, FastOpenSkipsTheAnimationAndStillCompletes)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(phoneProfile(), "<key>CVFolders</key><dict><key>fastOpen</key><true/>"
                                        "</dict>");
    SpringBoardHost::unlock();
    bool opened = false, closed = false;
    msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
        iconController(), "_animateFolder:open:animated:withCompletion:"_sel, extras(), YES, YES,
        [&] { opened = true; });
    EXPECT_TRUE(opened) << "no animation: the completion runs at once";
    EXPECT_EQ(openFolderView()->alpha(), 1);
    msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
        iconController(), "_animateFolder:open:animated:withCompletion:"_sel, extras(), NO, YES,
        [&] { closed = true; });
    EXPECT_TRUE(closed);
    EXPECT_EQ(openFolderView(), nullptr);

    gCVFolders.fastOpen = false;
    opened = false;
    msg<void, SBFolder *, BOOL, BOOL, std::function<void()>>(
        iconController(), "_animateFolder:open:animated:withCompletion:"_sel, extras(), YES, YES,
        [&] { opened = true; });
    EXPECT_FALSE(opened) << "animated: the completion waits for the crossfade";
    sim::advanceVirtualClock(sim::kFolderCrossfadeDuration + 0.05);
    EXPECT_TRUE(opened);
}

TEST_F(Folders, HiddenTitleShowsOnlyWhileEditingAndLockedNamesCannotBeEdited)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(phoneProfile(), "<key>CVFolders</key><dict><key>hideTitle</key><true/>"
                                        "</dict>");
    SpringBoardHost::unlock();
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    UITextField *title = openFolderView()->m_titleTextField;
    EXPECT_TRUE(title->isHidden());
    SpringBoardHost::setEditing(true);
    EXPECT_FALSE(title->isHidden());
    EXPECT_TRUE(title->m_userInteractionEnabled) << "SpringBoard lets the name be edited";
    msg<void>(openFolderView(), "layoutSubviews"_sel);
    EXPECT_FALSE(title->isHidden()) << "a layout pass while editing keeps it shown";
    SpringBoardHost::setEditing(false);
    EXPECT_TRUE(title->isHidden());

    gCVFolders.lockFolderNames = true;
    EXPECT_FALSE(msg<BOOL>(extras(), "canEditDisplayName"_sel));
    SpringBoardHost::setEditing(true);
    EXPECT_FALSE(title->m_userInteractionEnabled);
    SpringBoardHost::setEditing(false);
}

TEST_F(Folders, AFolderGoesIntoAnotherOnlyWithNestedFolders)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    SBFolder *folder = extras();
    SBFolderIcon *work = addSecondFolder();
    SpringBoardHost::setEditing(true);
    EXPECT_EQ(sim::HomeScreenHost::dragIcon("Work", "Extras"), "");
    EXPECT_EQ(folder->m_icons->count(), 4u) << "SpringBoard keeps folders out of folders";
    EXPECT_TRUE(page(0)->m_icons->containsObject(work)) << "it only moved";

    gCVFolders.nestedFolders = true;
    EXPECT_EQ(sim::HomeScreenHost::dragIcon("Work", "Extras"), "");
    EXPECT_EQ(folder->m_icons->lastObject(), work);
    EXPECT_FALSE(page(0)->m_icons->containsObject(work));
    SpringBoardHost::setEditing(false);
}

TEST_F(Folders, APinchClosesTheFolderWithOneRecognizerPerView)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension();
    SpringBoardHost::unlock();
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    EXPECT_EQ(pinchRecognizers(openFolderView()), 0u);
    EXPECT_EQ(sim::HomeScreenHost::pinchOpenFolder(), "");
    sim::advanceVirtualClock(1);
    EXPECT_NE(openFolderView(), nullptr) << "no pinch recognizer: the folder stays open";
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

TEST_F(Folders, UnblurredFolderIconBackground)
{
    if (ranInProcessOfItsOwn())
        return;
    launchWithExtension(phoneProfile(),
                        "<key>CVFolders</key><dict><key>unblurredIconBackground</key><true/>"
                        "</dict>");
    auto *icon = static_cast<SBFolderIconView *>(
        iconController()->m_iconViewMap->mappedIconViewForIcon(iconController()->folderIcons()[0]));
    icon->followWallpaper();
    UIColor *plain = icon->m_backgroundView->m_backgroundColor;
    EXPECT_EQ(plain->m_red, 1);
    EXPECT_NEAR(plain->m_alpha, 0.3, 1e-9);
    gCVFolders.unblurredIconBackground = false;
    icon->followWallpaper();
    EXPECT_EQ(icon->m_backgroundView->m_backgroundColor->m_alpha, 1) << "the wallpaper, tinted";
}

// The backdrop's style per system: what SpringBoard shows, transparent, dark.
class FolderBackdrop : public Folders, public testing::WithParamInterface<double> {
protected:
    static std::string backdropWith(const char *settings)
    {
        launchWithExtension(phoneProfile(GetParam()), settings);
        SpringBoardHost::unlock();
        EXPECT_TRUE(SpringBoardHost::openFolder(0));
        return static_cast<SBFolderBackgroundView *>(openFolderView()->m_panelView.get())->m_style;
    }
};

TEST_P(FolderBackdrop, StockIsLight)
{
    if (ranInProcessOfItsOwn())
        return;
    EXPECT_EQ(backdropWith(""), "light");
}

TEST_P(FolderBackdrop, TransparentIsNeverConfigured)
{
    if (ranInProcessOfItsOwn())
        return;
    EXPECT_EQ(backdropWith("<key>CVFolders</key><dict><key>transparentBackground</key><true/>"
                           "<key>darkBackground</key><true/></dict>"),
              "none");
}

TEST_P(FolderBackdrop, DarkFromIOS7_1)
{
    if (ranInProcessOfItsOwn())
        return;
    bool iOS7_0 = GetParam() == DeviceProfile::kIOS7CoreFoundation;
    EXPECT_EQ(backdropWith("<key>CVFolders</key><dict><key>darkBackground</key><true/></dict>"),
              iOS7_0 ? "light" : "dark");
}

INSTANTIATE_TEST_SUITE_P(Systems, FolderBackdrop,
                         testing::Values(DeviceProfile::kIOS7CoreFoundation, kIOS7_1CoreFoundation,
                                         DeviceProfile::kIOS9CoreFoundation));

} // namespace
