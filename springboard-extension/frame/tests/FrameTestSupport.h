#pragma once
// The frame's tests' own small SpringBoard, with just what the frame touches, recording
// what happens to it in `fake::events()`; recorders in place of the installers.

#include "springboard-extension/frame/Installers.h"

#include <string>
#include <vector>

namespace fake {

// How long the interface animation of a home-button press runs.
inline constexpr double kInterfaceAnimationDuration = 0.4;

struct SpringBoardEvents {
    int homeButtonPresses = 0;
    // Process-clock times of the calls of _relaunchSpringBoardNow.
    std::vector<double> relaunches;
};

SpringBoardEvents &events();

// Registers the SpringBoard classes, once per process; without `notesAnimationEnds` the
// animation controllers lack _noteAnimationDidFinish.
void registerSpringBoard(bool notesAnimationEnds = true);

// Stands a recorder in for every feature installer while it lives; the recorders note
// the installers' names, in the order they are called, in `called`.
class RecordingInstallers {
public:
    RecordingInstallers();
    ~RecordingInstallers();
    RecordingInstallers(const RecordingInstallers &) = delete;
    RecordingInstallers &operator=(const RecordingInstallers &) = delete;

    static std::vector<std::string> &called();

private:
    std::vector<void (*)()> m_replaced;
};

// The names of the installers, in order.
std::vector<std::string> namesOf(const std::vector<const CVInstaller *> &installers);

// Writes the settings file of the current device root.
void writeSettingsFile(const char *xmlDictionaryBody);

} // namespace fake
