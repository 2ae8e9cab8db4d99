#include "springboard/home-screen/Newsstand.h"

#include "springboard/Artwork.h"
#include "springboard/HostClass.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/home-screen/SBIconModel.h"

namespace {

constexpr const char *kNewsstandName = "Newsstand";
constexpr const char *kNewsstandIdentifier = "com.apple.newsstand";

namespace imp {

UIImage *generateIconImage(SBNewsstandIcon *, SEL, int)
{
    return sim::applicationIconImage(kNewsstandIdentifier, kNewsstandName,
                                     sim::SpringBoardMetrics::iconImageSide());
}

} // namespace imp

} // namespace

Class SBNewsstandIcon::class_()
{
    return objc_getClass("SBNewsstandIcon");
}

SBNewsstandIcon *SBNewsstandIcon::create()
{
    auto folder = StrongRef<SBFolder>::adopt(SBFolder::create(kNewsstandName, NSArray::array()));
    auto *icon = sim::create<SBNewsstandIcon>(class_());
    icon->m_folder = folder;
    return icon;
}

namespace sim {

void registerNewsstandIconClass()
{
    HostClass<SBNewsstandIcon>("SBNewsstandIcon", "SBFolderIcon")
        .onGenerations(iOS7 | iOS8)
        .method("generateIconImage:", imp::generateIconImage)
        .registerClass();
}

SBIcon *placeNewsstand(id iconController)
{
    SBIconModel *model = SBIconModel::shared();
    if (!model)
        return nil;
    bool wanted = runsIOS7_0() || msg<BOOL>(iconController, "isNewsstandSupported"_sel);
    if (wanted && msg<BOOL, SEL>(model, "respondsToSelector:"_sel, "_addNewsstandIcon"_sel))
        msg<void>(model, "_addNewsstandIcon"_sel);
    return model->m_newsstandIcon;
}

} // namespace sim
