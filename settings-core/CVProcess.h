#pragma once
// Which process the library runs in. Inside SpringBoard it serves live updates and waits
// for SpringBoard's launch; in any other process (the settings panel's) it does neither.

// Whether the main bundle is SpringBoard's.
bool CVIsSpringBoardProcess();
