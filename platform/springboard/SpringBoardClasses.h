#pragma once
// Every class of SpringBoard, registered as the running generation has it, superclasses
// first; and the one method SpringBoard adds to UIKit's UIApplication,
// `_relaunchSpringBoardNow`, which asks the process host to start SpringBoard again.

namespace sim {
void registerSpringBoardClasses();
} // namespace sim
