// The settings file as libcv3 reads it: any bytes, XML or binary, with any type at any
// key. Whatever the file holds, loading must not fail, and what it loads must be a fixed
// point of saving: the file saved after loading it, loaded and saved again, comes out
// byte for byte the same (dictionaries are written with sorted keys), so nothing a
// hostile file sets is lost or changed by a save.

#include "FuzzDevice.h"

#include "objc/NSObject.h"
#include "settings-core/CVSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const std::string kSettingsFile = "/var/mobile/Library/Preferences/com.kestrelworks.corvane3.plist";

std::string loadAndSave()
{
    AutoreleasePool pool;
    CVLoadSettings();
    CVSaveSettings();
    return fuzz::readDeviceFile(kSettingsFile);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::writeDeviceFile(kSettingsFile, data, size);
    std::string saved = loadAndSave();
    if (saved.empty())
        fuzz::fail("the settings were not saved");
    if (loadAndSave() != saved)
        fuzz::fail("a saved settings file changed when loaded and saved again");
    return 0;
}
