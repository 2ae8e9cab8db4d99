#pragma once
// Bundles: a directory on the phone ("/Library/PreferenceBundles/X.bundle") that holds an
// Info.plist, the bundle's executable (a shared object) and its resources. Loading a
// bundle opens its executable; the executable's static initialisers register its
// classes with the runtime as it loads, and the bundle remembers which classes those
// were, so it can name its principal class and answer bundleForClass for them.
//
// Paths in and out of a bundle are phone paths; files are reached under the device root.
// Bundles are made once per path and live as long as the process.
//
// Localised strings come from strings tables, "<table>.strings" (StringsFile.h), looked
// for in the device language's ".lproj", then "en.lproj", "Base.lproj" and the bundle's
// top directory. A table is read once. A table that cannot be read is logged once and
// answers nothing, so every look-up in it falls back.
//
// The main bundle stands for the running process. Its identifier is chosen by the
// process ("com.apple.springboard" for SpringBoard); processes that do not choose take it
// from the environment variable CORVANE_BUNDLE_ID, else "com.kestrelworks.process".

#include "foundation/NSString.h"
#include "foundation/StringsFile.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct NSBundle : NSObject {
    std::string m_path; // phone path of the bundle directory
    std::string m_identifier;
    std::string m_executableName;
    std::string m_principalClassName;
    void *m_handle = nullptr;     // the loaded executable
    std::vector<Class> m_classes; // registered while the executable loaded, in order
    std::unordered_map<std::string, std::shared_ptr<const sim::StringsTable>> m_tables;
    mutable std::mutex m_lock;

    static Class class_();
    static NSBundle *mainBundle();
    // nil when there is no such directory.
    static NSBundle *bundleWithPath(NSString *path);
    // The loaded bundle whose executable registered the class; the main bundle for
    // classes of the process itself.
    static NSBundle *bundleForClass(Class cls);

    // nil when the bundle's Info.plist does not name one.
    NSString *bundleIdentifier() const;
    NSString *bundlePath() const;
    NSString *resourcePath() const;
    // nil when the Info.plist names no executable.
    NSString *executablePath() const;

    // Opens the executable unless it is open; false (and a log line) when it cannot be.
    bool load();
    bool isLoaded() const;
    // Loads the bundle; then the class its Info.plist names (NSPrincipalClass), or the
    // first class it registered. Nil when loading fails.
    Class principalClass();

    // The phone path of the resource "<name>.<type>" (or "<name>" for an empty type),
    // at the top of the bundle or in a ".lproj" of the device language or English; nil
    // when there is none.
    NSString *pathForResourceOfType(NSString *name, NSString *type) const;
    // The value of `key` in the table ("Localizable" when nil or empty); else `value`
    // when it is not empty; else the key.
    NSString *localizedStringForKeyValueTable(NSString *key, NSString *value, NSString *table);
};

namespace sim {

// The main bundle's identifier and phone path, set by the host process at start.
void setMainBundleIdentifier(const std::string &identifier);
void setMainBundlePath(const std::string &phonePath);

} // namespace sim
