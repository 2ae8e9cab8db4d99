#include "springboard/home-screen/HomeScreenClasses.h"

#include "springboard/home-screen/JitterAnimation.h"
#include "springboard/home-screen/SBFolderBackgroundView.h"
#include "springboard/home-screen/SBIconBadgeView.h"
#include "springboard/home-screen/SBIconModel.h"

namespace sim {

void registerHomeScreenAppearanceClasses()
{
    registerKeyframeAnimationClass();
    registerBadgeClasses();
    registerLabelImageParametersClass();
    registerIconModelClass();
    registerIconViewDumpAttributes();
    registerFolderBackgroundViewClass();
}

} // namespace sim
