// The frame channel: JPEG frames, records on a socket, and the relay.

#include "FrameChannel.h"
#include "FrameRelay.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace sim;

namespace {

// A frame whose left half is red and right half blue, opaque.
std::vector<std::uint8_t> twoColourPixels(int width, int height)
{
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t *pixel = &pixels[(std::size_t(y) * width + x) * 4];
            bool left = x < width / 2;
            pixel[0] = left ? 220 : 20;
            pixel[1] = 30;
            pixel[2] = left ? 20 : 220;
            pixel[3] = 255;
        }
    return pixels;
}

std::vector<std::uint8_t> decode(const std::string &jpeg, int &width, int &height)
{
    tjhandle decompressor = tjInitDecompress();
    int subsampling = 0, colourspace = 0;
    tjDecompressHeader3(decompressor, reinterpret_cast<const unsigned char *>(jpeg.data()),
                        jpeg.size(), &width, &height, &subsampling, &colourspace);
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    tjDecompress2(decompressor, reinterpret_cast<const unsigned char *>(jpeg.data()), jpeg.size(),
                  pixels.data(), width, 0, height, TJPF_RGB, 0);
    tjDestroy(decompressor);
    return pixels;
}

std::string temporarySocketPath(const char *name)
{
    char directory[] = "/tmp/cvframesXXXXXX";
    EXPECT_NE(mkdtemp(directory), nullptr);
    return std::string(directory) + "/" + name;
}

EncodedFrame sampleFrame(char fill, std::size_t bytes)
{
    return {750, 1334, 2, std::string(bytes, fill)};
}

} // namespace

TEST(FrameEncoder, EncodesWhatWasDrawnAndRefusesTooFewPixels)
{
    std::vector<std::uint8_t> pixels = twoColourPixels(64, 32);
    FrameEncoder encoder;
    std::string jpeg = encoder.encode(pixels.data(), pixels.size(), 64, 32);
    ASSERT_FALSE(jpeg.empty());
    int width = 0, height = 0;
    std::vector<std::uint8_t> decoded = decode(jpeg, width, height);
    ASSERT_EQ(width, 64);
    ASSERT_EQ(height, 32);
    const std::uint8_t *left = &decoded[(16 * 64 + 8) * 3];
    const std::uint8_t *right = &decoded[(16 * 64 + 56) * 3];
    EXPECT_NEAR(left[0], 220, 12);
    EXPECT_NEAR(left[2], 20, 12);
    EXPECT_NEAR(right[0], 20, 12);
    EXPECT_NEAR(right[2], 220, 12);
    // Pixels that do not fill the frame are refused.
    EXPECT_TRUE(encoder.encode(pixels.data(), pixels.size() - 1, 64, 32).empty());
    EXPECT_TRUE(encoder.encode(pixels.data(), pixels.size(), 0, 32).empty());
}

TEST(FrameRecords, CrossASocketWholeAndBadHeadersAreRefused)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    // Larger than a socket's buffer, so the reader must gather it.
    EncodedFrame sent = sampleFrame('j', 600000);
    std::thread writer([&] { EXPECT_TRUE(writeFrame(ends[0], sent)); });
    std::optional<EncodedFrame> received = readFrame(ends[1]);
    writer.join();
    ASSERT_TRUE(received);
    EXPECT_EQ(received->height, 1334);
    EXPECT_EQ(received->jpeg, sent.jpeg);

    // A header with another magic, or a frame too wide to be a screen, ends the stream.
    std::uint32_t wrongMagic[5] = {1, 10, 10, 1000, 0};
    ASSERT_EQ(write(ends[0], wrongMagic, sizeof wrongMagic), ssize_t(sizeof wrongMagic));
    EXPECT_FALSE(readFrame(ends[1]));
    std::uint32_t tooWide[5] = {0x52465643, 20000, 10, 1000, 0};
    ASSERT_EQ(write(ends[0], tooWide, sizeof tooWide), ssize_t(sizeof tooWide));
    EXPECT_FALSE(readFrame(ends[1]));
    close(ends[0]);
    EXPECT_FALSE(readFrame(ends[1]));
    close(ends[1]);
}

TEST(FrameRelay, KeepsTheNewestFrameOfWhicheverSpringBoardIsConnected)
{
    std::string path = temporarySocketPath("frames");
    FrameRelay relay;
    ASSERT_TRUE(relay.start(path));
    EXPECT_EQ(relay.waitForFrameAfter(0, 50).number, 0u);

    OwnedFd first = connectForFrames(path);
    ASSERT_TRUE(first.valid());
    ASSERT_TRUE(writeFrame(first.get(), sampleFrame('a', 100)));
    FrameRelay::Numbered one = relay.waitForFrameAfter(0, 5000);
    ASSERT_EQ(one.number, 1u);
    EXPECT_EQ(one.frame->jpeg, std::string(100, 'a'));

    // A relaunched SpringBoard connects anew; its frames follow the old ones.
    first.reset();
    OwnedFd second = connectForFrames(path);
    ASSERT_TRUE(second.valid());
    ASSERT_TRUE(writeFrame(second.get(), sampleFrame('b', 200)));
    FrameRelay::Numbered two = relay.waitForFrameAfter(1, 5000);
    ASSERT_EQ(two.number, 2u);
    EXPECT_EQ(two.frame->jpeg, std::string(200, 'b'));
    // A late reader gets the newest frame at once.
    EXPECT_EQ(relay.waitForFrameAfter(0, 0).number, 2u);
    relay.stop();
}
