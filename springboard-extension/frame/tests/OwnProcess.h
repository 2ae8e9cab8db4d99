#pragma once
// Cases that stand for a SpringBoard process of their own. The extension's entry runs
// once per process, and what it arms (the apply notification, the farewell hook, the
// once-only alert) lasts as long as the process, so each such case needs a fresh one.
// A case starts with
//
//     if (ranInProcessOfItsOwn())
//         return;
//
// The first case of a process runs right there. Any later one runs again, alone, in a
// new process of this test binary, and reports that process's result as its own.

bool ranInProcessOfItsOwn();
