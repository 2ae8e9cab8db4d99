#pragma once
// The panel's one kind of exception: an internal inconsistency, raised only for a
// programming error of the panel's own pages (a page that does not override an operation
// of its base, an editor row without its delegate). Nothing catches it: as an uncaught
// exception on the phone, it ends the process with its reason on standard error.

// Raises NSInternalInconsistencyException with the formatted reason (printf with %@).
[[noreturn]] void CVRaiseInternalInconsistency(const char *format, ...);
