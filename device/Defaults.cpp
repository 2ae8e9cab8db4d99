#include "Defaults.h"

#include "Commands.h"
#include "PropertyListJson.h"
#include "settings-core/CVSectionTable.h"
#include "settings-core/CVSettings.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace sim {

namespace {

// The parts of a dotted key path; empty parts are kept ("pages." has two parts, the
// second empty), so that no mistyped path stands for a shorter one.
std::vector<std::string> splitPath(const std::string &path)
{
    std::vector<std::string> parts(1);
    for (char character : path) {
        if (character == '.')
            parts.emplace_back();
        else
            parts.back() += character;
    }
    return parts;
}

// The reload service's identifier of a section, or -1 for CVGlobal.
int sectionIdentifier(CVSettingsEntity *section)
{
    for (std::uint32_t id = 0; id <= CVSectionIDNotificationCenter; ++id)
        if (CVLiveSectionForID(id).section == section)
            return static_cast<int>(id);
    return -1;
}

// {"a": {"b": value}} for the path a.b.
NSDictionary *nestedDictionary(const std::vector<std::string> &path, id value)
{
    id nested = value;
    for (auto part = path.rbegin(); part != path.rend(); ++part)
        nested = NSDictionary::dictionaryWithObjectsForKeys(
            {{NSString::stringWithString(*part), nested}});
    return static_cast<NSDictionary *>(nested);
}

void saveAndSend(CVSettingsEntity *section, NSDictionary *changes)
{
    CVSaveSettings();
    int identifier = sectionIdentifier(section);
    if (identifier >= 0)
        CVSendSectionUpdate(static_cast<CVSectionID>(identifier), changes);
}

int usage()
{
    std::fprintf(stderr, "usage: cvsim defaults read [SECTION [KEY]]\n"
                         "       cvsim defaults write SECTION KEY VALUE\n"
                         "       cvsim defaults reset SECTION\n");
    return 2;
}

int printOrFail(const std::optional<nlohmann::json> &value, const std::string &section)
{
    if (!value) {
        std::fprintf(stderr, "cvsim: no section named \"%s\"\n", section.c_str());
        return 2;
    }
    std::printf("%s\n", value->dump(2).c_str());
    return 0;
}

int reportError(const std::optional<std::string> &error)
{
    if (!error)
        return 0;
    std::fprintf(stderr, "cvsim: %s\n", error->c_str());
    return 1;
}

} // namespace

CVSettingsEntity *sectionNamed(const std::string &name)
{
    for (const CVNamedSection &entry : CVNamedSections())
        if (entry.written && name == entry.name)
            return entry.section;
    return nullptr;
}

nlohmann::json readAllDefaults()
{
    AutoreleasePool pool;
    nlohmann::json all = nlohmann::json::object();
    for (const CVNamedSection &entry : CVNamedSections())
        if (entry.written)
            all[entry.name] = jsonFromPropertyList(entry.section->getDictionary());
    return all;
}

std::optional<nlohmann::json> readSection(const std::string &name)
{
    AutoreleasePool pool;
    CVSettingsEntity *section = sectionNamed(name);
    if (!section)
        return std::nullopt;
    return jsonFromPropertyList(section->getDictionary());
}

std::optional<nlohmann::json> readKey(const std::string &name, const std::string &keyPath)
{
    AutoreleasePool pool;
    CVSettingsEntity *section = sectionNamed(name);
    if (!section)
        return std::nullopt;
    std::vector<std::string> path = splitPath(keyPath);
    if (path.size() == 1)
        return jsonFromPropertyList(section->getValue(NSString::stringWithString(keyPath)));
    nlohmann::json value = jsonFromPropertyList(section->getDictionary());
    for (const std::string &part : path) {
        if (!value.is_object() || !value.contains(part))
            return nlohmann::json(nullptr);
        value = nlohmann::json(value[part]);
    }
    return value;
}

std::optional<std::string> writeDefault(const std::string &name, const std::string &keyPath,
                                        const std::string &valueText)
{
    AutoreleasePool pool;
    CVSettingsEntity *section = sectionNamed(name);
    if (!section)
        return "no section named \"" + name + "\"";
    std::vector<std::string> path = splitPath(keyPath);
    id value = propertyListFromJson(parseCommandLineValue(valueText));
    std::vector<std::string_view> parts(path.begin(), path.end());
    CVKeyCheck check = section->checkKey(parts, value);
    if (!check.known)
        return "\"" + keyPath + "\" is not a key of " + name;
    if (!check.accepted)
        return "\"" + keyPath + "\" of " + name + " takes " + check.expected + ", not \"" +
               valueText + "\"";
    NSDictionary *changes = nestedDictionary(path, value);
    section->load(changes);
    saveAndSend(section, changes);
    return std::nullopt;
}

std::optional<std::string> resetSection(const std::string &name)
{
    AutoreleasePool pool;
    CVSettingsEntity *section = sectionNamed(name);
    if (!section)
        return "no section named \"" + name + "\"";
    section->setDefaults();
    saveAndSend(section, section->getDictionary());
    return std::nullopt;
}

int defaultsCommand(int argc, char **argv)
{
    if (argc < 1)
        return usage();
    std::string verb = argv[0];
    if (verb == "read" && argc == 1) {
        std::printf("%s\n", readAllDefaults().dump(2).c_str());
        return 0;
    }
    if (verb == "read" && argc == 2)
        return printOrFail(readSection(argv[1]), argv[1]);
    if (verb == "read" && argc == 3)
        return printOrFail(readKey(argv[1], argv[2]), argv[1]);
    if (verb == "write" && argc == 4)
        return reportError(writeDefault(argv[1], argv[2], argv[3]));
    if (verb == "reset" && argc == 2)
        return reportError(resetSection(argv[1]));
    return usage();
}

} // namespace sim
