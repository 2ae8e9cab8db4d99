// The settings file: one property-list dictionary of section dictionaries, read whole by
// CVLoadSettings and written whole by CVSaveSettings. Reading tolerates anything: a
// missing or unreadable file leaves the defaults, and a bad top-level entry is logged and
// skipped without stopping the others. Writing is atomic, so a failed write leaves the
// previous file whole.

#include "foundation/NSLog.h"
#include "settings-core/CVProcess.h"
#include "settings-core/CVReloadService.h"
#include "settings-core/CVSectionTable.h"

namespace {

constexpr const char *kSettingsPath =
    "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";

void resetAllSections()
{
    for (const CVNamedSection &entry : CVNamedSections())
        if (entry.written)
            entry.section->setDefaults();
}

} // namespace

void _CVParseSettingsApplierFunction(const void *key, const void *value, void *)
{
    static const CFTypeID stringType = CFStringGetTypeID();
    static const CFTypeID dictionaryType = CFDictionaryGetTypeID();
    if (!key) {
        NSLog("[Corvane][ERROR]: %s: key must not be NULL", __func__);
        return;
    }
    id keyObject = static_cast<id>(const_cast<void *>(key));
    if (CFGetTypeID(key) != stringType) {
        NSLog("[Corvane][ERROR]: %s: Key '%@' is not a string (!?)", __func__, keyObject);
        return;
    }
    if (!value)
        return;
    id valueObject = static_cast<id>(const_cast<void *>(value));
    if (CFGetTypeID(value) != dictionaryType) {
        NSLog("[Corvane][ERROR]: %s: Value '%@' is not a dictionary (first level entries must "
              "be dictionaries) (!?)",
              __func__, valueObject);
        return;
    }
    CVSettingsEntity *section = CVSectionNamed(static_cast<CFStringRef>(keyObject));
    if (!section) {
        NSLog("[Corvane][ERROR]: Unhandled key: %@", keyObject);
        return;
    }
    section->load(static_cast<CFDictionaryRef>(valueObject));
}

void CVLoadSettings()
{
    AutoreleasePool pool;
    resetAllSections();
    if (CVIsSpringBoardProcess())
        CVStartReloadService();
    NSDictionary *file =
        NSDictionary::dictionaryWithContentsOfFile(NSString::stringWithUTF8String(kSettingsPath));
    if (!file)
        return;
    // When both "CVAnimations" and "CVUSettings" are present, the one applied later wins
    // key by key; the file gives no order, and none is promised.
    CFDictionaryApplyFunction(file, _CVParseSettingsApplierFunction, nullptr);
}

void CVSaveSettings()
{
    AutoreleasePool pool;
    NSMutableDictionary *file = NSMutableDictionary::dictionary();
    for (const CVNamedSection &entry : CVNamedSections())
        if (entry.written)
            file->setObjectForKey(entry.section->getDictionary(),
                                  NSString::stringWithUTF8String(entry.name));
    if (!file->writeToFile(NSString::stringWithUTF8String(kSettingsPath), true))
        NSLog("[Corvane][ERROR]: Couldn't write the settings file %s", kSettingsPath);
}
