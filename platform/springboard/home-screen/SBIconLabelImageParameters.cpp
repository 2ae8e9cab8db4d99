// The parameters an icon's label is drawn with. SpringBoard makes a fresh set for each
// label it draws and takes the label's font from it (`font`): the system font at the
// label size of the device.

#include "springboard/HostClass.h"
#include "springboard/SpringBoardMetrics.h"
#include "springboard/home-screen/HomeScreenClasses.h"
#include "uikit/UIFont.h"

namespace {

struct SBIconLabelImageParameters : NSObject {};

UIFont *font(SBIconLabelImageParameters *, SEL)
{
    return UIFont::systemFontOfSize(sim::SpringBoardMetrics::labelFontSize());
}

} // namespace

namespace sim {

void registerLabelImageParametersClass()
{
    HostClass<SBIconLabelImageParameters>("SBIconLabelImageParameters", "NSObject")
        .method("font", font)
        .registerClass();
}

} // namespace sim
