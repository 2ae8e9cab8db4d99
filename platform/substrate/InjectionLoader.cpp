// Loading the extension libraries of the injection directory. Each candidate is judged by
// its filter alone, and every reason to skip one is a log line of its own, so a device
// with a broken extension still starts with the others, and its log says why one is
// missing. Unloading (an in-process relaunch) also disposes of the classes each closed
// library defined: their code is gone, and the next load registers them afresh.

#include "substrate/substrate.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSArray.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSLog.h"
#include "foundation/NSString.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>
#include <mutex>
#include <optional>

namespace {

struct LoadedLibrary {
    std::string fileName;
    void *handle;
};

std::mutex g_lock;

std::vector<LoadedLibrary> &loadedLibraries()
{
    static std::vector<LoadedLibrary> libraries;
    return libraries;
}

bool isKindOf(id object, Class cls)
{
    return object && msg<BOOL>(object, "isKindOfClass:"_sel, cls);
}

// The bundle identifiers a filter dictionary names, or nothing (after a log line) when the
// filter is not {"Filter": {"Bundles": [strings]}}.
std::optional<std::vector<std::string>> bundlesOfFilter(NSDictionary *plist,
                                                        const std::string &plistName)
{
    id filter = plist->objectForKey("Filter"_ns);
    if (!isKindOf(filter, NSDictionary::class_())) {
        NSLog("substrate: %s has no Filter dictionary", plistName.c_str());
        return std::nullopt;
    }
    id bundles = static_cast<NSDictionary *>(filter)->objectForKey("Bundles"_ns);
    if (!isKindOf(bundles, NSArray::class_())) {
        NSLog("substrate: the Filter of %s has no Bundles array", plistName.c_str());
        return std::nullopt;
    }
    std::vector<std::string> identifiers;
    for (id bundle : *static_cast<NSArray *>(bundles)) {
        if (!isKindOf(bundle, NSString::class_())) {
            NSLog("substrate: the Bundles of %s hold something that is not a string",
                  plistName.c_str());
            return std::nullopt;
        }
        identifiers.push_back(static_cast<NSString *>(bundle)->str());
    }
    return identifiers;
}

// Whether the filter beside `libraryName` ("X.dylib") names the bundle; logs why not.
bool filterNames(const std::string &libraryName, const std::string &bundleIdentifier)
{
    std::string stem = libraryName.substr(0, libraryName.size() - std::string(".dylib").size());
    std::string plistName = stem + ".plist";
    std::string phonePath = std::string(sim::kInjectionDirectory) + "/" + plistName;
    if (!std::filesystem::exists(sim::hostPath(phonePath))) {
        NSLog("substrate: %s has no filter (%s), skipped", libraryName.c_str(), plistName.c_str());
        return false;
    }
    AutoreleasePool pool;
    NSDictionary *plist =
        NSDictionary::dictionaryWithContentsOfFile(NSString::stringWithString(phonePath));
    if (!plist) {
        NSLog("substrate: %s is not a property-list dictionary, %s skipped", plistName.c_str(),
              libraryName.c_str());
        return false;
    }
    std::optional<std::vector<std::string>> bundles = bundlesOfFilter(plist, plistName);
    if (!bundles) {
        NSLog("substrate: %s skipped: its filter is malformed", libraryName.c_str());
        return false;
    }
    if (std::find(bundles->begin(), bundles->end(), bundleIdentifier) == bundles->end()) {
        NSLog("substrate: %s is not for %s, skipped", libraryName.c_str(),
              bundleIdentifier.c_str());
        return false;
    }
    return true;
}

// The "*.dylib" files of the injection directory, by name.
std::vector<std::string> candidateLibraries()
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(sim::hostPath(sim::kInjectionDirectory), error);
    if (error)
        return names;
    for (const auto &entry : entries) {
        std::string name = entry.path().filename().string();
        if (name.size() > 6 && name.ends_with(".dylib") && !entry.is_directory())
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The path the loader knows the library by, as the runtime names its image.
std::string imagePathOf(void *handle)
{
    link_map *map = nullptr;
    return dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name ? map->l_name : "";
}

// Disposes of the classes the library at `image` defined, subclasses before their
// superclasses (the reverse of registration). Only once the library is really gone: one
// that something else still holds keeps its classes.
void disposeClassesOfClosedImage(const std::string &image)
{
    if (image.empty())
        return;
    if (void *still = dlopen(image.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(still);
        return;
    }
    unsigned int count = 0;
    const char **names = objc_copyClassNamesForImage(image.c_str(), &count);
    std::vector<Class> classes;
    for (unsigned int i = 0; names && i < count; ++i)
        classes.push_back(objc_getClass(names[i]));
    std::free(names);
    for (auto cls = classes.rbegin(); cls != classes.rend(); ++cls)
        objc_disposeClassPair(*cls);
}

bool isLoaded(const std::string &fileName)
{
    const auto &libraries = loadedLibraries();
    return std::any_of(libraries.begin(), libraries.end(),
                       [&](const LoadedLibrary &library) { return library.fileName == fileName; });
}

} // namespace

namespace sim {

std::size_t loadInjectedLibraries(const char *bundleIdentifier)
{
    if (!bundleIdentifier || !*bundleIdentifier) {
        NSLog("substrate: no bundle identifier to load libraries for");
        return 0;
    }
    std::lock_guard guard(g_lock);
    std::size_t opened = 0;
    for (const std::string &name : candidateLibraries()) {
        if (isLoaded(name) || !filterNames(name, bundleIdentifier))
            continue;
        std::string path = hostPath(std::string(kInjectionDirectory) + "/" + name);
        // The library's constructors run inside dlopen: the extension's entry, now.
        void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
        if (!handle) {
            const char *reason = dlerror();
            NSLog("substrate: %s failed to load: %s", name.c_str(), reason ? reason : "unknown");
            continue;
        }
        loadedLibraries().push_back({name, handle});
        ++opened;
    }
    return opened;
}

void unloadInjectedLibraries()
{
    std::lock_guard guard(g_lock);
    auto &libraries = loadedLibraries();
    while (!libraries.empty()) {
        std::string image = imagePathOf(libraries.back().handle);
        // The library's destructors run inside dlclose, while its classes are still whole.
        dlclose(libraries.back().handle);
        libraries.pop_back();
        disposeClassesOfClosedImage(image);
    }
}

std::vector<std::string> injectedLibraries()
{
    std::lock_guard guard(g_lock);
    std::vector<std::string> names;
    for (const LoadedLibrary &library : loadedLibraries())
        names.push_back(library.fileName);
    return names;
}

} // namespace sim
