#pragma once
// Reading a device script: one command per line, its words separated by blanks; a word
// in double quotes may hold blanks ("defaults write CVStatusBar carrierString "Kestrel
// Mobile""), and inside quotes \" and \\ stand for a quote and a backslash. Blank lines
// and lines whose first character (after blanks) is # are skipped. Every line is parsed before the
// script runs, so a mistake on line 9 is reported before line 1 has booted anything.

#include "DeviceCommand.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct ScriptLine {
    int number; // 1-based, as an editor shows it
    std::vector<std::string> words;
    DeviceCommand command;
};

struct ParsedScript {
    std::vector<ScriptLine> lines;
    std::string error; // "line N: why", when the script cannot run
};

// The words of one line; nullopt when a quote is left open.
std::optional<std::vector<std::string>> splitWords(const std::string &line);

ParsedScript readScript(std::istream &input);

} // namespace sim
