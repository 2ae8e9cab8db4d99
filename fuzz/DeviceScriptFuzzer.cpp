// The script reader of `cvsim script`: any text. A script is read whole or refused with
// the line at fault; what it accepts are commands the device language parsed, one per
// line that is neither blank nor a comment, numbered as an editor numbers them.

#include "FuzzDevice.h"

#include "ScriptReader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream input(text);
    sim::ParsedScript script = sim::readScript(input);
    if (!script.error.empty()) {
        if (script.error.rfind("line ", 0) != 0)
            fuzz::fail("a refused script does not name its line");
        return 0;
    }
    int previous = 0;
    for (const sim::ScriptLine &line : script.lines) {
        if (line.number <= previous || line.words.empty())
            fuzz::fail("an accepted script line is out of order or empty");
        previous = line.number;
    }
    return 0;
}
