#include "ScriptReader.h"

#include <cctype>

namespace sim {

namespace {

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads a quoted word starting after its opening quote; false when the quote never closes.
bool readQuoted(const std::string &line, std::size_t &at, std::string &word)
{
    while (at < line.size()) {
        char c = line[at++];
        if (c == '"')
            return true;
        if (c == '\\' && at < line.size() && (line[at] == '"' || line[at] == '\\'))
            c = line[at++];
        word += c;
    }
    return false;
}

} // namespace

std::optional<std::vector<std::string>> splitWords(const std::string &line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    for (;;) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        if (at == line.size())
            return words;
        std::string word;
        while (at < line.size() && !isBlank(line[at])) {
            char c = line[at++];
            if (c != '"')
                word += c;
            else if (!readQuoted(line, at, word))
                return std::nullopt;
        }
        words.push_back(std::move(word));
    }
}

ParsedScript readScript(std::istream &input)
{
    ParsedScript script;
    std::string text;
    for (int number = 1; std::getline(input, text); ++number) {
        std::size_t first = text.find_first_not_of(" \t\r");
        if (first == std::string::npos || text[first] == '#')
            continue;
        std::optional<std::vector<std::string>> words = splitWords(text);
        if (!words) {
            script.error = "line " + std::to_string(number) + ": a quote is not closed";
            return script;
        }
        ParsedCommand parsed = parseDeviceCommand(*words);
        if (!parsed.command) {
            script.error = "line " + std::to_string(number) + ": " + parsed.error;
            return script;
        }
        script.lines.push_back({number, std::move(*words), std::move(*parsed.command)});
    }
    return script;
}

} // namespace sim
