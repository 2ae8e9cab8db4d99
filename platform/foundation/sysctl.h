#pragma once
// sysctlbyname: the phone's system values by name, with the platform's calling
// convention. The simulated phone answers "hw.machine", the hardware model ("iPhone8,1"),
// from its device profile; it has no other names.
//
//     size_t size = 0;
//     sysctlbyname("hw.machine", NULL, &size, NULL, 0);      // size with the NUL
//     std::vector<char> machine(size);
//     sysctlbyname("hw.machine", machine.data(), &size, NULL, 0);
//
// Answers 0, or -1 with errno: ENOENT for an unknown name, ENOMEM when the buffer is too
// small (nothing is copied then), EPERM for an attempt to set a value.

#include <cstddef>

extern "C" int sysctlbyname(const char *name, void *oldp, std::size_t *oldlenp, void *newp,
                            std::size_t newlen);
