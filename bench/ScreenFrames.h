#pragma once
// What the benchmarks of whole screen frames share: SpringBoard launched and unlocked on
// the default phone (750 × 1334 pixels) on a virtual clock, and one frame of its visible
// windows rendered as the device draws its screen, with the renderer kept between frames
// as the device keeps it.

#include "LayerFrames.h"

#include "darwin/TemporaryDevice.h"
#include "foundation/Clock.h"
#include "foundation/DeviceProfile.h"
#include "quartzcore/Renderer.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/Snapshot.h"
#include "uikit/UIScreen.h"
#include "uikit/UIWindow.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

class BenchSpringBoard {
public:
    // `beforeUnlock` runs between the launch and the unlock (a feature group's installer).
    explicit BenchSpringBoard(benchmark::State &state,
                              const std::function<void()> &beforeUnlock = {})
        : m_state(state)
    {
        if (!m_device.ready()) {
            state.SkipWithError("the device services did not start");
            return;
        }
        sim::useVirtualClock();
        sim::DeviceProfile::setCurrent(sim::DeviceProfile{});
        sim::SpringBoardHost::launch();
        if (beforeUnlock)
            beforeUnlock();
        sim::SpringBoardHost::unlock();
        m_ready = true;
    }

    // Counts the frames a second of the run, and ends SpringBoard.
    ~BenchSpringBoard()
    {
        if (!m_ready)
            return;
        countFramesPerSecond(m_state);
        sim::SpringBoardHost::terminate();
    }

    BenchSpringBoard(const BenchSpringBoard &) = delete;
    BenchSpringBoard &operator=(const BenchSpringBoard &) = delete;

    bool ready() const { return m_ready; }

    // One frame of every visible window, kept from the optimiser.
    void renderFrame()
    {
        std::vector<CALayer *> roots;
        for (UIWindow *window : sim::visibleWindowsBottomUp()) {
            sim::displayPendingLayers(window->layer());
            roots.push_back(window->layer());
        }
        UIScreen *screen = UIScreen::mainScreen();
        const sim::PixelBuffer &pixels =
            m_renderer.renderFrame(roots, screen->bounds().size, screen->scale());
        benchmark::DoNotOptimize(pixels.pixels.data());
    }

private:
    benchmark::State &m_state;
    sim::TemporaryDevice m_device;
    AutoreleasePool m_pool;
    sim::Renderer m_renderer;
    bool m_ready = false;
};
