#pragma once
// What every fuzz target that touches the device's files shares: a device root of its
// own, made once per process and removed when the process ends. It lies in shared memory
// where the machine has it, so that atomic saves (write, fsync, rename) cost a few
// microseconds rather than a disk flush per input.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The host directory standing for the device's root (with the phone's preferences
// folder); set as the device root.
const std::string &deviceRoot();

// Writes `size` bytes to the host file of `phonePath`, creating its folders.
void writeDeviceFile(const std::string &phonePath, const std::uint8_t *data, std::size_t size);

// The bytes of the host file of `phonePath`; empty when there is none.
std::string readDeviceFile(const std::string &phonePath);

// Stops a fuzz run with `what` when an expectation does not hold.
[[noreturn]] void fail(const char *what);

} // namespace fuzz
