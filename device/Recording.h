#pragma once
// Recording what moves on the phone (`record start DIR [--fps N]`, `record stop`): every
// frame the screen renders while the recording runs is written to DIR as a numbered PNG
// (frame-0001.png, …, exactly as a screenshot would write it) and added to one animated
// WebP, DIR/recording.webp, that a browser plays at the pace the frames were rendered.
//
// The frames come from a FrameSource that renders at every tick (FrameSource.h), on the
// process clock: in a script the virtual one, so a recording is the same at every run.
// Writing runs on a thread of its own, which keeps every frame (none is dropped, unlike
// the device page's stream); `stop` waits until the last is written and the animation is
// assembled. Each file is written beside its name and renamed over it, so a reader never
// sees half an image.

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace sim {

struct Recording {
    static constexpr double kDefaultFramesPerSecond = 30;
    static constexpr double kMaxFramesPerSecond = 60;

    // Starts recording into `directory` (made when missing). Empty when it started, else
    // why not (a recording runs already, the directory cannot be made or holds frames).
    static std::string start(const std::string &directory, double framesPerSecond);
    // Stops the recording and finishes its files; answers what was written ("N frames,
    // DIR/recording.webp") or, with `failed`, why it could not be.
    static std::string stop(bool &failed);
    // {"active", "directory", "frames"}: the recording that runs, or the last one.
    static nlohmann::json dump();
};

} // namespace sim
