#pragma once
// The home screen's classes for how icons look and behave, beside the grid's: badges,
// label parameters, the icon model and applications, the jitter animation.

namespace sim {

void registerLabelImageParametersClass();
void registerIconViewDumpAttributes();

// Everything of this folder, in an order in which each class finds its superclass.
void registerHomeScreenAppearanceClasses();

} // namespace sim
