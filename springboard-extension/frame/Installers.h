#pragma once
// The feature groups' installers and the order they run in. Each feature group has one
// installer, which replaces its methods (Replacement.h) and sets the change callback of
// the settings section it owns. The entry runs them once, at start-up, in one fixed order
// that depends only on the system generation: the app switcher differs per generation,
// and Spotlight has a group of its own only on iOS 9.
//
// System generations are told apart by the Core Foundation version number: iOS 7 below
// 1140.1, iOS 8 from 1140.1 up to (not including) 1240.1, iOS 9 from 1240.1.

#include <span>
#include <vector>

enum CVSystemGeneration : unsigned {
    CVSystemGenerationIOS7 = 1u << 0,
    CVSystemGenerationIOS8 = 1u << 1,
    CVSystemGenerationIOS9 = 1u << 2,
};

// A set of generations: CVSystemGeneration values or-ed together.
using CVSystemGenerations = unsigned;
inline constexpr CVSystemGenerations CVEverySystemGeneration =
    CVSystemGenerationIOS7 | CVSystemGenerationIOS8 | CVSystemGenerationIOS9;

CVSystemGeneration CVSystemGenerationForVersion(double coreFoundationVersion);
// The generation of the running system (kCFCoreFoundationVersionNumber).
CVSystemGeneration CVRunningSystemGeneration();

struct CVInstaller {
    const char *name;
    CVSystemGenerations generations;
    // nullptr while the feature group is not part of the extension; the entry skips it.
    void (*install)();
};

// Every installer, in the order they run. The table is writable so that a test can stand
// its own functions in for the feature groups'.
std::span<CVInstaller> CVFeatureInstallers();

// The installers that run on `generation`, in order, absent ones included.
std::vector<const CVInstaller *> CVInstallersForGeneration(CVSystemGeneration generation);

// Calls the present installers of `generation`, in order.
void CVRunInstallers(CVSystemGeneration generation);
