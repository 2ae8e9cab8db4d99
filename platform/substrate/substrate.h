#pragma once
// Code injection, as the phone's injection library provides it to a host process and to
// the extensions it loads.
//
// Loading. At start-up, before it builds anything of its own, a host process asks for
// the extension libraries meant for it: every "*.dylib" in the phone directory
// "/Library/MobileSubstrate/DynamicLibraries" whose filter property list beside it
// ("X.plist" for "X.dylib") names the host's bundle identifier,
//
//     { "Filter": { "Bundles": ["com.apple.springboard", …] } }
//
// is opened in name order with its symbols global, so its load-time constructors (the
// extension's entry) run there and then, while the host's classes exist but its
// interface does not yet. A library without a filter, with a filter that is not of that
// shape, one whose filter names other bundles only, and one that fails to load are each
// logged ("substrate: …") and skipped; the others still load.
//
// Function hooks. The host's private functions that an extension may replace are
// exported functions whose body calls through a slot, a function pointer that the host
// registers here together with the function. MSHookFunction, given the function, hands
// back the slot's present target and points the slot at the replacement, so every caller
// of the exported function reaches the replacement from then on. Hooks chain: a second
// hook of the same function receives the first replacement as its previous function.

#include <cstddef>
#include <string>
#include <vector>

extern "C" {

// Replaces the function `symbol` (an exported function registered as hookable) with
// `replacement`; stores the function that was in place in *result when result is not
// null. A symbol that is not registered, or a null replacement, is logged and ignored.
void MSHookFunction(void *symbol, void *replacement, void **result);

// An image loaded in the process; nullptr stands for every image (the only kind of
// lookup this stand-in makes).
using MSImageRef = const void *;
// The address of the exported symbol `name` in `image` (every image for nullptr), or
// nullptr when no image exports it. Names are given as the linker sees them, with the
// leading underscore of the phone's symbol names ("__SBUIControlCenterControlColorForState"
// for the C function _SBUIControlCenterControlColorForState).
void *MSFindSymbol(MSImageRef image, const char *name);

} // extern "C"

namespace sim {

inline constexpr const char *kInjectionDirectory = "/Library/MobileSubstrate/DynamicLibraries";

// Opens every library of the injection directory whose filter names `bundleIdentifier`
// (see above) and answers how many it opened. A library already open stays open and is
// not counted again.
std::size_t loadInjectedLibraries(const char *bundleIdentifier);

// Closes the libraries that loadInjectedLibraries opened, the last opened first, for a
// host that starts afresh inside one process.
void unloadInjectedLibraries();

// The file names ("CorvaneBoard.dylib") of the libraries open now, in the order they
// were opened.
std::vector<std::string> injectedLibraries();

// Makes `exportedFunction` hookable: MSHookFunction on it changes `*slot`, the pointer
// the function calls through. Registering a function again moves it to the new slot.
void registerHookableFunction(void *exportedFunction, void **slot);

// Forgets the function; later hooks of it are logged and ignored.
void unregisterHookableFunction(void *exportedFunction);

} // namespace sim
