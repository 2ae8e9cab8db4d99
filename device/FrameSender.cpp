#include "FrameSender.h"

namespace sim {

FrameSender::FrameSender(OwnedFd connection)
    : m_connection(std::move(connection)), m_thread([this] { sendFrames(); })
{
}

FrameSender::~FrameSender()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FrameSender::offer(RenderedFrame &&frame)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_connected)
            return;
        m_pending = std::move(frame);
    }
    m_wake.notify_all();
}

bool FrameSender::connected() const
{
    std::lock_guard lock(m_mutex);
    return m_connected;
}

void FrameSender::sendFrames()
{
    FrameEncoder encoder;
    for (;;) {
        RenderedFrame frame;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_pending; });
            if (m_stopping)
                return;
            frame = std::move(*m_pending);
            m_pending.reset();
        }
        EncodedFrame encoded{
            frame.width, frame.height, frame.scale,
            encoder.encode(frame.pixels.data(), frame.pixels.size(), frame.width, frame.height)};
        if (encoded.jpeg.empty())
            continue;
        if (!writeFrame(m_connection.get(), encoded)) {
            std::lock_guard lock(m_mutex);
            m_connected = false;
            return;
        }
    }
}

} // namespace sim
