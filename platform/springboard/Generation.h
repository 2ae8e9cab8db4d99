#pragma once
// System generations. SpringBoard exists in three generations, iOS 7, 8 and 9, and each
// has its own set of classes and selectors. The running generation is chosen by the
// device profile's Core Foundation version number alone: below 1140.1 is iOS 7, below
// 1240.1 iOS 8, anything else iOS 9. Every number picks one, including numbers that no
// real release carries, so an unsupported system still starts a SpringBoard (the
// extension is the one that refuses it).
//
// Generations are bits, so that a set of them ("iOS7 | iOS8") says where a class or a
// selector exists (HostClass.h).

namespace sim {

enum Generation : unsigned {
    iOS7 = 1u << 0,
    iOS8 = 1u << 1,
    iOS9 = 1u << 2,
};

using Generations = unsigned;
inline constexpr Generations kAllGenerations = iOS7 | iOS8 | iOS9;

Generation generationOf(double coreFoundationVersion);

// The generation of the device profile this process runs with.
Generation currentGeneration();

// Whether that is iOS 7.0 (Core Foundation 847.21 or below), where a few classes differ
// from iOS 7.1.
bool runsIOS7_0();

} // namespace sim
