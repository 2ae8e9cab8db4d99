#pragma once
// The settings as the device tool shows and edits them. Writing runs the settings
// panel's edit cycle exactly: load of a one-entry dictionary into the section's shared
// instance, CVSaveSettings, then CVSendSectionUpdate with the section's identifier (the
// master switch's section, CVGlobal, has none and is only saved), so that a running
// SpringBoard takes the change up live.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

class CVSettingsEntity;

namespace sim {

// The section of that name, or nullptr.
CVSettingsEntity *sectionNamed(const std::string &name);

// Every section's dictionary, keyed by section name.
nlohmann::json readAllDefaults();
// One section's dictionary; nullopt for an unknown section.
std::optional<nlohmann::json> readSection(const std::string &section);
// One key: getValue for a plain key, or the value at a dotted path of the section's
// dictionary ("pages.coverflow.enabled"); null when the section does not answer it.
std::optional<nlohmann::json> readKey(const std::string &section, const std::string &keyPath);

// Writes VALUE (JSON, or a bare word taken as a string) at KEY, a dotted path for nested
// dictionaries ("pages.iconColumns" is {"pages": {"iconColumns": value}}). Answers an
// error message, or nullopt on success.
std::optional<std::string> writeDefault(const std::string &section, const std::string &keyPath,
                                        const std::string &valueText);
// Resets the section to its defaults, saves, and sends the whole section.
std::optional<std::string> resetSection(const std::string &section);

} // namespace sim
