#pragma once
// Cases that stand for a SpringBoard process of their own: the extension's entry runs once
// per process, and what it arms lasts as long as the process. Such a case begins with
// RUN_IN_PROCESS_OF_ITS_OWN(): the first case of a process runs right there, any later one
// runs again, alone, in a new process of this test binary, which reports its result.

bool ranInProcessOfItsOwn();

#define RUN_IN_PROCESS_OF_ITS_OWN()                                                                \
    do {                                                                                           \
        if (ranInProcessOfItsOwn())                                                                \
            return;                                                                                \
    } while (0)
