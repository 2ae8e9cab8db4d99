// Folders: the stock folder opening through SpringBoard's crossfades, its own grid, closing.

#include "SpringBoardTest.h"

#include "springboard/CrossfadeViews.h"
#include "springboard/SBFloatyFolderView.h"
#include "springboard/SBFolderIconView.h"

namespace {

using sim::SpringBoardHost;

int g_crossfadeLayouts = 0;
int g_geometryPreparations = 0;
IMP g_layoutSubviews = nullptr;
IMP g_prepareGeometry = nullptr;

void countingLayout(SBZoomableCrossfadeView *self, SEL cmd)
{
    ++g_crossfadeLayouts;
    reinterpret_cast<void (*)(SBZoomableCrossfadeView *, SEL)>(g_layoutSubviews)(self, cmd);
}

void countingPrepare(SBIconImageCrossfadeView *self, SEL cmd)
{
    ++g_geometryPreparations;
    reinterpret_cast<void (*)(SBIconImageCrossfadeView *, SEL)>(g_prepareGeometry)(self, cmd);
}

class Folders : public test::SpringBoardTest {
protected:
    void SetUp() override
    {
        test::SpringBoardTest::SetUp();
        launch();
        SpringBoardHost::unlock();
        g_crossfadeLayouts = g_geometryPreparations = 0;
        g_layoutSubviews = test::replaceMethod(SBZoomableCrossfadeView::class_(), "layoutSubviews",
                                               reinterpret_cast<IMP>(countingLayout));
        g_prepareGeometry =
            test::replaceMethod(SBIconImageCrossfadeView::class_(), "prepareGeometry",
                                reinterpret_cast<IMP>(countingPrepare));
    }

    static SBFolderIconView *folderIconView()
    {
        return static_cast<SBFolderIconView *>(iconView(page(0), 17));
    }

    static SBFloatyFolderView *openFolderView()
    {
        auto *controller = iconController()->m_openFolderController.get();
        return controller ? static_cast<SBFloatyFolderView *>(controller->m_contentView.get())
                          : nil;
    }

    static std::size_t viewsOfClass(UIView *root, const char *name)
    {
        std::size_t found = std::string(object_getClassName(root)) == name ? 1 : 0;
        for (UIView *child : root->m_subviews)
            found += viewsOfClass(child, name);
        return found;
    }
};

TEST_F(Folders, TheFolderOpensOutOfItsIconThroughACrossfadeAndNoOtherOpens)
{
    EXPECT_FALSE(SpringBoardHost::openFolder(1));
    EXPECT_FALSE(SpringBoardHost::openFolder(-1));
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    UIWindow *home = rootFolderView()->window();
    SBFloatyFolderView *open = openFolderView();
    ASSERT_NE(open, nil);
    EXPECT_EQ(viewsOfClass(home, "SBZoomableCrossfadeView"), 1u);
    EXPECT_EQ(viewsOfClass(folderIconView(), "SBIconImageCrossfadeView"), 1u);
    EXPECT_EQ(g_geometryPreparations, 1);
    EXPECT_GE(g_crossfadeLayouts, 1);
    EXPECT_DOUBLE_EQ(open->alpha(), 0);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(folderIconView(), "floatyFolderCrossfadeFraction"_sel), 1);

    sim::advanceVirtualClock(sim::kFolderCrossfadeDuration + 0.05);

    EXPECT_EQ(viewsOfClass(home, "SBZoomableCrossfadeView"), 0u);
    EXPECT_EQ(viewsOfClass(folderIconView(), "SBIconImageCrossfadeView"), 0u);
    EXPECT_DOUBLE_EQ(open->alpha(), 1);
    EXPECT_TRUE(msg<BOOL>(iconController(), "hasOpenFolder"_sel));
    EXPECT_STREQ(open->m_titleTextField->m_text->UTF8String(), "Extras");
}

// The 321-point square panel has three 60-point columns in gaps of 35.25 and three 74-point
// rows between insets of 16 in gaps of 33.5.
TEST_F(Folders, AnOpenFolderShowsItsIconsOnItsOwnGridUntilClosed)
{
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(0.5);
    SBFloatyFolderView *open = openFolderView();
    ASSERT_EQ(open->m_iconListViews->count(), 1u);
    auto *list = static_cast<SBIconListView *>(open->m_iconListViews->objectAtIndex(0));
    EXPECT_STREQ(object_getClassName(list), "SBFolderIconListView");
    ASSERT_EQ(list->m_icons->count(), 4u);
    EXPECT_STREQ(iconView(list, 0)->m_labelView->m_text->UTF8String(), "Wallet");
    EXPECT_POINT_NEAR(iconOrigin(list, 1), 35.25 * 2 + 60, 16);
    EXPECT_POINT_NEAR(iconOrigin(list, 3), 35.25, 16 + 74 + 33.5);
    EXPECT_RECT_NEAR(open->m_panelView->frame(), 27, (667 - 321) / 2.0, 321, 321);

    // Closing the folder returns it to its icon.
    StrongRef<SBFloatyFolderView> keep(open);

    SpringBoardHost::closeFolder();
    EXPECT_FALSE(msg<BOOL>(iconController(), "hasOpenFolder"_sel));
    EXPECT_NE(open->superview(), nil);
    sim::advanceVirtualClock(0.5);

    EXPECT_EQ(open->superview(), nil);
    EXPECT_DOUBLE_EQ(msg<CGFloat>(folderIconView(), "floatyFolderCrossfadeFraction"_sel), 0);
    EXPECT_DOUBLE_EQ(folderIconView()->m_iconImageView->alpha(), 1);

    // So does the home button.
    ASSERT_TRUE(SpringBoardHost::openFolder(0));
    sim::advanceVirtualClock(0.5);
    SpringBoardHost::pressHome();
    sim::advanceVirtualClock(0.5);
    EXPECT_FALSE(msg<BOOL>(iconController(), "hasOpenFolder"_sel));
}

} // namespace
