#include "springboard/backlight/BacklightHost.h"

#include "foundation/Clock.h"
#include "springboard/SpringBoardState.h"
#include "springboard/backlight/Backlight.h"
#include "uikit/Snapshot.h"

#include <utility>

namespace sim {
namespace {

SBBacklightController *controller()
{
    return msg<SBBacklightController *>(SBBacklightController::class_(), "sharedInstance"_sel);
}

void animateBacklight(float factor, double duration, int source)
{
    msg<void, float, double, int, std::function<void()>>(
        controller(), "animateBacklightToFactor:duration:source:completion:"_sel, factor, duration,
        source, nullptr);
}

bool isOpaque(CGImageRef image)
{
    const std::vector<std::uint8_t> &pixels = image->m_pixels;
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        if (pixels[i] != 255)
            return false;
    return true;
}

} // namespace

void BacklightHost::turnOff()
{
    cancelIdleDim();
    animateBacklight(0, backlightFadeDuration(), SBBacklightChangeSourceLockButton);
}

bool BacklightHost::turnOn(int source)
{
    animateBacklight(1, 0, source);
    SBBacklightController *backlight = controller();
    return backlight && backlight->m_factor > 0;
}

void BacklightHost::scheduleIdleDim()
{
    cancelIdleDim();
    springBoardState().displayDimTimer =
        RunLoop::main().addTimer(now() + kLockScreenIdleDelay, 0, [] {
            springBoardState().displayDimTimer = 0;
            animateBacklight(0, backlightFadeDuration(), SBBacklightChangeSourceIdleTimer);
        });
}

void BacklightHost::cancelIdleDim()
{
    if (RunLoop::SourceId timer = std::exchange(springBoardState().displayDimTimer, 0))
        RunLoop::main().removeSource(timer);
}

void BacklightHost::stop()
{
    cancelIdleDim();
    auto *backlight =
        static_cast<SBBacklightController *>(springBoardState().backlightController.get());
    if (backlight && backlight->m_fadeEnd)
        RunLoop::main().removeSource(std::exchange(backlight->m_fadeEnd, 0));
}

// Between two runs of SpringBoard the panel is lit, as the phone shows its start-up.
bool BacklightHost::screenIsOn()
{
    SBBacklightController *backlight = controller();
    return !backlight || backlight->m_screenOn;
}

double BacklightHost::factor()
{
    SBBacklightController *backlight = controller();
    return backlight ? backlight->presentedFactor() : 1.0;
}

CGImageRef BacklightHost::createDisplayImage()
{
    auto screen = StrongRef<CGImage>::adopt(snapshotOfScreen());
    if (!screen)
        return nil;
    double light = factor();
    // Fully lit, an opaque screen is what the windows drew: no copy (the device page and
    // recordings take one image a frame).
    if (light >= 1.0 && isOpaque(screen))
        return screen.leak();
    std::vector<std::uint8_t> pixels = pixelsOf(screen);
    // Premultiplied colour over a black panel: the colour dims with the light, and the
    // panel itself shows wherever nothing covers it.
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        for (std::size_t c = 0; c < 3; ++c)
            pixels[i + c] = static_cast<std::uint8_t>(pixels[i + c] * light + 0.5);
        pixels[i + 3] = 255;
    }
    return imageFromPixels(CGImageGetWidth(screen), CGImageGetHeight(screen), std::move(pixels));
}

} // namespace sim
