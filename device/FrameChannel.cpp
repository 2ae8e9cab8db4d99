#include "FrameChannel.h"

#include "foundation/DeviceRoot.h"

#include <turbojpeg.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr std::uint32_t kFrameMagic = 0x52465643; // "CVFR"
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::uint32_t kMaxImageBytes = 64u << 20;

struct FrameHeader {
    std::uint32_t magic;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t scaleThousandths;
    std::uint32_t imageBytes;
};

[[nodiscard]] bool writeAll(int fd, const void *data, std::size_t length)
{
    const char *bytes = static_cast<const char *>(data);
    while (length > 0) {
        ssize_t written = send(fd, bytes, length, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

[[nodiscard]] bool readAll(int fd, void *data, std::size_t length)
{
    char *bytes = static_cast<char *>(data);
    while (length > 0) {
        ssize_t got = recv(fd, bytes, length, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

[[nodiscard]] bool makeAddress(const std::string &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

std::string frameSocketPath()
{
    return hostPath(kFrameSocketPhonePath);
}

FrameEncoder::FrameEncoder() : m_compressor(tjInitCompress()) {}

FrameEncoder::~FrameEncoder()
{
    if (m_compressor)
        tjDestroy(m_compressor);
}

std::string FrameEncoder::encode(const std::uint8_t *pixels, std::size_t byteCount, int width,
                                 int height, int quality)
{
    if (!m_compressor || width <= 0 || height <= 0 ||
        byteCount < std::size_t(width) * std::size_t(height) * 4)
        return {};
    unsigned char *jpeg = nullptr;
    unsigned long jpegBytes = 0;
    // The screen is opaque, so premultiplied pixels are its colours; the fourth byte is
    // skipped. Chroma at half resolution keeps text crisp enough at the screen's scale.
    int failed = tjCompress2(m_compressor, pixels, width, width * 4, height, TJPF_RGBX, &jpeg,
                             &jpegBytes, TJSAMP_420, quality, TJFLAG_FASTDCT);
    std::string encoded;
    if (!failed)
        encoded.assign(reinterpret_cast<const char *>(jpeg), jpegBytes);
    tjFree(jpeg);
    return encoded;
}

bool writeFrame(int fd, const EncodedFrame &frame)
{
    FrameHeader header{kFrameMagic, std::uint32_t(frame.width), std::uint32_t(frame.height),
                       std::uint32_t(frame.scale * 1000 + 0.5), std::uint32_t(frame.jpeg.size())};
    return writeAll(fd, &header, sizeof header) &&
           writeAll(fd, frame.jpeg.data(), frame.jpeg.size());
}

std::optional<EncodedFrame> readFrame(int fd)
{
    FrameHeader header;
    if (!readAll(fd, &header, sizeof header) || header.magic != kFrameMagic || header.width == 0 ||
        header.width > kMaxSide || header.height == 0 || header.height > kMaxSide ||
        header.imageBytes > kMaxImageBytes || header.scaleThousandths == 0)
        return std::nullopt;
    EncodedFrame frame;
    frame.width = int(header.width);
    frame.height = int(header.height);
    frame.scale = header.scaleThousandths / 1000.0;
    frame.jpeg.resize(header.imageBytes);
    if (!readAll(fd, frame.jpeg.data(), frame.jpeg.size()))
        return std::nullopt;
    return frame;
}

OwnedFd listenForFrames(const std::string &path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {};
    OwnedFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid())
        return {};
    unlink(path.c_str());
    if (bind(fd.get(), reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
        listen(fd.get(), 4) != 0)
        return {};
    return fd;
}

OwnedFd connectForFrames(const std::string &path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {};
    OwnedFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid() ||
        connect(fd.get(), reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
        return {};
    return fd;
}

} // namespace sim
