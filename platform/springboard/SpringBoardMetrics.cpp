#include "springboard/SpringBoardMetrics.h"

#include "foundation/DeviceProfile.h"

namespace sim {
namespace {

constexpr CGFloat kStatusBarClearance = 27; // the first row of a page starts below the bar
constexpr CGFloat kPageDotsHeight = 30;
constexpr CGFloat kFolderInset = 16;

// The portrait height of the screen decides how many rows a phone's pages hold.
unsigned long phonePortraitRows()
{
    double height = DeviceProfile::current()->screenHeight;
    if (height >= 667)
        return 6;
    return height >= 568 ? 5 : 4;
}

} // namespace

bool SpringBoardMetrics::isPad()
{
    return DeviceProfile::current()->idiom == DeviceProfile::Pad;
}

bool SpringBoardMetrics::isLandscape(long orientation)
{
    return orientation == 3 || orientation == 4;
}

CGSize SpringBoardMetrics::interfaceSize(long orientation)
{
    auto profile = DeviceProfile::current();
    if (isLandscape(orientation))
        return {profile->screenHeight, profile->screenWidth};
    return {profile->screenWidth, profile->screenHeight};
}

CGFloat SpringBoardMetrics::iconImageSide()
{
    return isPad() ? 76 : 60;
}

CGSize SpringBoardMetrics::iconViewSize()
{
    return isPad() ? CGSize{76, 94} : CGSize{60, 74};
}

CGFloat SpringBoardMetrics::labelFontSize()
{
    return isPad() ? 14 : 12;
}

CGFloat SpringBoardMetrics::dockThickness()
{
    return isPad() ? 112 : 96;
}

bool SpringBoardMetrics::dockIsVertical(long orientation)
{
    return !isPad() && isLandscape(orientation);
}

unsigned long SpringBoardMetrics::defaultColumns(IconListKind kind, long orientation)
{
    switch (kind) {
    case IconListKind::Dock:
        return 4;
    case IconListKind::Folder:
        return isPad() ? 4 : 3;
    case IconListKind::Root:
        break;
    }
    if (!isLandscape(orientation))
        return 4;
    return isPad() ? 5 : phonePortraitRows();
}

unsigned long SpringBoardMetrics::defaultRows(IconListKind kind, long orientation)
{
    switch (kind) {
    case IconListKind::Dock:
        return 1;
    case IconListKind::Folder:
        return isPad() ? 4 : 3;
    case IconListKind::Root:
        break;
    }
    if (isLandscape(orientation))
        return 4;
    return isPad() ? 5 : phonePortraitRows();
}

CGFloat SpringBoardMetrics::topInset(IconListKind kind, long orientation)
{
    switch (kind) {
    case IconListKind::Root:
        return isPad() ? 2 * kStatusBarClearance : kStatusBarClearance;
    case IconListKind::Folder:
        return kFolderInset;
    case IconListKind::Dock:
        break;
    }
    // Across the dock, the icon sits in the middle of its thickness.
    CGFloat across = dockIsVertical(orientation) ? iconViewSize().width : iconViewSize().height;
    return (dockThickness() - across) / 2;
}

CGFloat SpringBoardMetrics::bottomInset(IconListKind kind, long orientation)
{
    switch (kind) {
    case IconListKind::Root:
        return isPad() ? 40 : kPageDotsHeight;
    case IconListKind::Folder:
        return kFolderInset;
    case IconListKind::Dock:
        break;
    }
    return topInset(kind, orientation);
}

CGFloat SpringBoardMetrics::sideInset(IconListKind kind, long orientation, CGFloat lineLength)
{
    bool upright = kind == IconListKind::Dock && dockIsVertical(orientation);
    CGFloat iconLength = upright ? iconViewSize().height : iconViewSize().width;
    auto count = static_cast<CGFloat>(defaultColumns(kind, orientation));
    return (lineLength - count * iconLength) / (count + 1);
}

CGRect SpringBoardMetrics::pageFrame(long orientation)
{
    CGSize interface = interfaceSize(orientation);
    if (dockIsVertical(orientation))
        return {{0, 0}, {interface.width - dockThickness(), interface.height}};
    return {{0, 0}, {interface.width, interface.height - dockThickness()}};
}

CGRect SpringBoardMetrics::dockFrame(long orientation)
{
    CGSize interface = interfaceSize(orientation);
    CGFloat thickness = dockThickness();
    if (dockIsVertical(orientation))
        return {{interface.width - thickness, 0}, {thickness, interface.height}};
    return {{0, interface.height - thickness}, {interface.width, thickness}};
}

CGRect SpringBoardMetrics::pageControlFrame(long orientation)
{
    CGRect page = pageFrame(orientation);
    CGFloat height = bottomInset(IconListKind::Root, orientation);
    return {{0, page.size.height - height}, {page.size.width, height}};
}

CGFloat SpringBoardMetrics::folderPanelSide()
{
    return isPad() ? 480 : DeviceProfile::current()->screenWidth - 2 * kStatusBarClearance;
}

} // namespace sim
