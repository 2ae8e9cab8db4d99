#include "foundation/NSBundle.h"

#include "foundation/DeviceProfile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSLog.h"

#include <plist/plist.h>

#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Class g_bundleClass;

constexpr const char *kDefaultMainIdentifier = "com.kestrelworks.process";
constexpr const char *kDefaultTable = "Localizable";

// Bundles by phone path. Never destroyed: bundles live as long as the process.
struct BundleRegistry {
    std::mutex lock;
    std::unordered_map<std::string, StrongRef<NSBundle>> byPath;
};

BundleRegistry &registry()
{
    static auto &shared = *new BundleRegistry;
    return shared;
}

// Which bundle registered each class. Loading is serialised so that the classes
// registered during one load are that bundle's; the lock is recursive because a
// bundle's initialisers may load another bundle, whose classes are claimed first.
struct ClassOwners {
    std::recursive_mutex loading;
    std::mutex lock;
    std::unordered_map<Class, NSBundle *> owner;
};

ClassOwners &classOwners()
{
    static auto &shared = *new ClassOwners;
    return shared;
}

std::optional<std::string> readHostFile(const std::string &phonePath)
{
    std::ifstream stream(sim::hostPath(phonePath), std::ios::binary);
    if (!stream)
        return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

bool hostFileExists(const std::string &phonePath)
{
    return !phonePath.empty() && access(sim::hostPath(phonePath).c_str(), F_OK) == 0;
}

bool hostDirectoryExists(const std::string &phonePath)
{
    struct stat info {};
    return stat(sim::hostPath(phonePath).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string stringEntry(plist_t dictionary, const char *key)
{
    plist_t node = plist_dict_get_item(dictionary, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return {};
    char *value = nullptr;
    plist_get_string_val(node, &value);
    std::string text = value ? value : "";
    std::free(value);
    return text;
}

// Fills identifier, executable and principal class from the bundle's Info.plist. A
// bundle without one has none of them; one that is not a property list is logged.
void readInfoDictionary(NSBundle *bundle)
{
    std::string infoPath = bundle->m_path + "/Info.plist";
    std::optional<std::string> bytes = readHostFile(infoPath);
    if (!bytes)
        return;
    plist_t info = nullptr;
    plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &info);
    if (!info || plist_get_node_type(info) != PLIST_DICT) {
        NSLog("NSBundle: %s is not a property list", infoPath.c_str());
    } else {
        bundle->m_identifier = stringEntry(info, "CFBundleIdentifier");
        bundle->m_executableName = stringEntry(info, "CFBundleExecutable");
        bundle->m_principalClassName = stringEntry(info, "NSPrincipalClass");
    }
    if (info)
        plist_free(info);
}

std::size_t registeredClassCount()
{
    unsigned int count = 0;
    std::free(objc_copyClassList(&count));
    return count;
}

// Classes registered since the registry held `count` of them (the list keeps the order
// of registration).
std::vector<Class> classesRegisteredSince(std::size_t count)
{
    unsigned int total = 0;
    Class *list = objc_copyClassList(&total);
    std::vector<Class> classes;
    for (std::size_t i = count; list && i < total; ++i)
        classes.push_back(list[i]);
    std::free(list);
    return classes;
}

// Records the classes that a load registered and that no bundle loaded meanwhile (from
// the first one's initialisers) has claimed.
void claimClasses(NSBundle *bundle, const std::vector<Class> &registered)
{
    ClassOwners &owners = classOwners();
    std::lock_guard guard(owners.lock);
    std::lock_guard bundleGuard(bundle->m_lock);
    for (Class cls : registered)
        if (owners.owner.try_emplace(cls, bundle).second)
            bundle->m_classes.push_back(cls);
}

// The bundle's phone path; the main bundle's may change while others read it.
std::string phonePathOf(const NSBundle *bundle)
{
    std::lock_guard guard(bundle->m_lock);
    return bundle->m_path;
}

// ".lproj" directories to look in: the device language's, then English and Base.
std::vector<std::string> localisationDirectories()
{
    std::string locale = sim::DeviceProfile::current()->locale;
    std::string language = locale.substr(0, locale.find_first_of("_-"));
    std::vector<std::string> directories{language + ".lproj"};
    for (const char *fallback : {"en.lproj", "Base.lproj"})
        if (directories.front() != fallback)
            directories.emplace_back(fallback);
    return directories;
}

// The phone path of the first of `candidates` (relative to the bundle) that exists.
NSString *firstExisting(const std::string &bundlePath, const std::vector<std::string> &candidates)
{
    for (const std::string &candidate : candidates) {
        std::string path = bundlePath + "/" + candidate;
        if (hostFileExists(path))
            return NSString::stringWithString(path);
    }
    return nil;
}

std::shared_ptr<const sim::StringsTable> readStringsTable(const NSBundle *bundle,
                                                          const std::string &table)
{
    std::vector<std::string> candidates;
    for (const std::string &directory : localisationDirectories())
        candidates.push_back(directory + "/" + table + ".strings");
    candidates.push_back(table + ".strings");
    NSString *path = firstExisting(phonePathOf(bundle), candidates);
    std::optional<std::string> bytes = path ? readHostFile(path->str()) : std::nullopt;
    if (!bytes)
        return std::make_shared<const sim::StringsTable>();
    std::optional<sim::StringsTable> entries = sim::parseStringsFile(*bytes);
    if (!entries) {
        NSLog("NSBundle: %s is not a strings table; its strings are not localised",
              path->UTF8String());
        return std::make_shared<const sim::StringsTable>();
    }
    return std::make_shared<const sim::StringsTable>(std::move(*entries));
}

// Read outside the bundle's lock (reading may log); the first reader's table is kept.
std::shared_ptr<const sim::StringsTable> stringsTable(NSBundle *bundle, const std::string &table)
{
    {
        std::lock_guard guard(bundle->m_lock);
        auto cached = bundle->m_tables.find(table);
        if (cached != bundle->m_tables.end())
            return cached->second;
    }
    std::shared_ptr<const sim::StringsTable> entries = readStringsTable(bundle, table);
    std::lock_guard guard(bundle->m_lock);
    return bundle->m_tables.try_emplace(table, std::move(entries)).first->second;
}

NSBundle *newBundle(const std::string &path)
{
    auto *bundle = sim::create<NSBundle>(g_bundleClass);
    bundle->m_path = path;
    readInfoDictionary(bundle);
    return bundle;
}

NSBundle *mainBundleObject()
{
    static NSBundle *const main = [] {
        auto *bundle = sim::create<NSBundle>(g_bundleClass);
        const char *identifier = std::getenv("CORVANE_BUNDLE_ID");
        bundle->m_identifier = identifier && *identifier ? identifier : kDefaultMainIdentifier;
        bundle->m_handle = dlopen(nullptr, RTLD_NOW);
        return bundle;
    }();
    return main;
}

// The messages, each answering through the C++ member of the same name.
NSBundle *mainBundleMessage(id, SEL)
{
    return NSBundle::mainBundle();
}

NSBundle *bundleWithPathMessage(id, SEL, NSString *path)
{
    return NSBundle::bundleWithPath(path);
}

NSBundle *bundleForClassMessage(id, SEL, Class cls)
{
    return NSBundle::bundleForClass(cls);
}

NSString *bundleIdentifierMessage(NSBundle *self, SEL)
{
    return self->bundleIdentifier();
}

NSString *bundlePathMessage(NSBundle *self, SEL)
{
    return self->bundlePath();
}

NSString *resourcePathMessage(NSBundle *self, SEL)
{
    return self->resourcePath();
}

NSString *executablePathMessage(NSBundle *self, SEL)
{
    return self->executablePath();
}

BOOL loadMessage(NSBundle *self, SEL)
{
    return self->load();
}

BOOL isLoadedMessage(NSBundle *self, SEL)
{
    return self->isLoaded();
}

Class principalClassMessage(NSBundle *self, SEL)
{
    return self->principalClass();
}

NSString *pathForResourceMessage(NSBundle *self, SEL, NSString *name, NSString *type)
{
    return self->pathForResourceOfType(name, type);
}

NSString *localizedStringMessage(NSBundle *self, SEL, NSString *key, NSString *value,
                                 NSString *table)
{
    return self->localizedStringForKeyValueTable(key, value, table);
}

const Class kRegistered = [] {
    g_bundleClass = ClassBuilder<NSBundle>("NSBundle", "NSObject")
                        .classMethod("mainBundle", mainBundleMessage)
                        .classMethod("bundleWithPath:", bundleWithPathMessage)
                        .classMethod("bundleForClass:", bundleForClassMessage)
                        .method("bundleIdentifier", bundleIdentifierMessage)
                        .method("bundlePath", bundlePathMessage)
                        .method("resourcePath", resourcePathMessage)
                        .method("executablePath", executablePathMessage)
                        .method("load", loadMessage)
                        .method("isLoaded", isLoadedMessage)
                        .method("principalClass", principalClassMessage)
                        .method("pathForResource:ofType:", pathForResourceMessage)
                        .method("localizedStringForKey:value:table:", localizedStringMessage)
                        .registerClass();
    return g_bundleClass;
}();

} // namespace

Class NSBundle::class_()
{
    return g_bundleClass;
}

NSBundle *NSBundle::mainBundle()
{
    return mainBundleObject();
}

NSBundle *NSBundle::bundleWithPath(NSString *path)
{
    if (!path || path->str().empty())
        return nil;
    std::string directory = path->str();
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    if (!hostDirectoryExists(directory))
        return nil;
    BundleRegistry &bundles = registry();
    std::lock_guard guard(bundles.lock);
    auto found = bundles.byPath.find(directory);
    if (found == bundles.byPath.end())
        found = bundles.byPath.emplace(directory, StrongRef<NSBundle>::adopt(newBundle(directory)))
                    .first;
    return found->second.get();
}

NSBundle *NSBundle::bundleForClass(Class cls)
{
    ClassOwners &owners = classOwners();
    std::lock_guard guard(owners.lock);
    auto found = owners.owner.find(cls);
    return found == owners.owner.end() ? mainBundle() : found->second;
}

NSString *NSBundle::bundleIdentifier() const
{
    std::lock_guard guard(m_lock);
    return m_identifier.empty() ? nil : NSString::stringWithString(m_identifier);
}

NSString *NSBundle::bundlePath() const
{
    return NSString::stringWithString(phonePathOf(this));
}

// Bundles of the phone keep their resources at the top of the bundle directory.
NSString *NSBundle::resourcePath() const
{
    return bundlePath();
}

NSString *NSBundle::executablePath() const
{
    std::lock_guard guard(m_lock);
    if (m_executableName.empty())
        return nil;
    return NSString::stringWithString(m_path + "/" + m_executableName);
}

bool NSBundle::load()
{
    ClassOwners &owners = classOwners();
    std::lock_guard loading(owners.loading);
    if (isLoaded())
        return true;
    std::string path = phonePathOf(this);
    if (m_executableName.empty()) {
        NSLog("NSBundle: %s names no executable to load", path.c_str());
        return false;
    }
    std::string executable = path + "/" + m_executableName;
    std::size_t classesBefore = registeredClassCount();
    void *handle = dlopen(sim::hostPath(executable).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        NSLog("NSBundle: cannot load %s: %s", executable.c_str(), dlerror());
        return false;
    }
    claimClasses(this, classesRegisteredSince(classesBefore));
    std::lock_guard guard(m_lock);
    m_handle = handle;
    return true;
}

bool NSBundle::isLoaded() const
{
    std::lock_guard guard(m_lock);
    return m_handle != nullptr;
}

Class NSBundle::principalClass()
{
    if (!load())
        return Nil;
    std::lock_guard guard(m_lock);
    if (!m_principalClassName.empty())
        return objc_getClass(m_principalClassName.c_str());
    return m_classes.empty() ? Nil : m_classes.front();
}

NSString *NSBundle::pathForResourceOfType(NSString *name, NSString *type) const
{
    if (!name || name->str().empty())
        return nil;
    std::string file = name->str();
    if (type && !type->str().empty())
        file += "." + type->str();
    std::vector<std::string> candidates{file};
    for (const std::string &directory : localisationDirectories())
        candidates.push_back(directory + "/" + file);
    return firstExisting(phonePathOf(this), candidates);
}

NSString *NSBundle::localizedStringForKeyValueTable(NSString *key, NSString *value, NSString *table)
{
    std::string tableName = table && !table->str().empty() ? table->str() : kDefaultTable;
    if (key) {
        std::shared_ptr<const sim::StringsTable> entries = stringsTable(this, tableName);
        auto found = entries->find(key->str());
        if (found != entries->end())
            return NSString::stringWithString(found->second);
    }
    if (value && !value->str().empty())
        return value;
    return key ? key : NSString::stringWithString("");
}

namespace sim {

void setMainBundleIdentifier(const std::string &identifier)
{
    NSBundle *main = mainBundleObject();
    std::lock_guard guard(main->m_lock);
    main->m_identifier = identifier;
}

void setMainBundlePath(const std::string &phonePath)
{
    NSBundle *main = mainBundleObject();
    std::lock_guard guard(main->m_lock);
    main->m_path = phonePath;
    main->m_tables.clear();
}

} // namespace sim
