#pragma once
// How SpringBoard's screen reaches the device page. `cvsim run` listens on a stream
// socket at "/var/run/corvane/frames" under the device root; each SpringBoard process
// connects to it when it starts serving (so a relaunched SpringBoard simply connects
// again) and writes its frames there, one record each: a fixed header (magic, width and
// height in pixels, the screen's scale in thousandths, the length of the image) and the
// frame as a JPEG. Only processes of the same user may connect (the run directory is
// private to the user, and the listener checks its peers).
//
// Frames are encoded with TurboJPEG: a 750×1334 frame takes a few milliseconds, against
// the tens the PNG of a screenshot takes, and the browser decodes it as fast.

#include "darwin/Socket.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

inline constexpr const char *kFrameSocketPhonePath = "/var/run/corvane/frames";

// The host path of the frame socket under the current device root.
std::string frameSocketPath();

// One frame of the screen as it travels: JPEG bytes and what they show.
struct EncodedFrame {
    int width = 0;    // pixels
    int height = 0;   // pixels
    double scale = 1; // pixels per point
    std::string jpeg;
};

// Premultiplied RGBA pixels (the renderer's and CGImage's byte order), rows of 4 × width
// bytes, as a JPEG of `quality` (1 to 100). Owns one TurboJPEG compressor; not shared
// between threads.
class FrameEncoder {
public:
    FrameEncoder();
    ~FrameEncoder();
    FrameEncoder(const FrameEncoder &) = delete;
    FrameEncoder &operator=(const FrameEncoder &) = delete;

    // Empty when the pixels cannot be encoded (a size of zero, too few bytes).
    std::string encode(const std::uint8_t *pixels, std::size_t byteCount, int width, int height,
                       int quality = 80);

private:
    void *m_compressor;
};

// Writes one record; false when the peer has gone.
[[nodiscard]] bool writeFrame(int fd, const EncodedFrame &frame);
// Reads one record (blocking); nothing when the peer has gone or sent something that is
// not a frame (a wrong magic, a size beyond 16384 pixels a side or an image over 64 MiB).
std::optional<EncodedFrame> readFrame(int fd);

// A stream socket listening at `path` (a stale socket there is replaced); invalid on
// failure, errno set.
OwnedFd listenForFrames(const std::string &path);
// Connects to the listener at `path`; invalid when nobody listens.
OwnedFd connectForFrames(const std::string &path);

} // namespace sim
