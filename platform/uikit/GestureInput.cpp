#include "uikit/GestureInput.h"

#include "uikit/UIPinchGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIView.h"

namespace sim {
namespace {

// The first recognizer of `cls` that may begin, from `view` up through its ancestors.
UIGestureRecognizer *recognizerFor(UIView *view, Class cls)
{
    for (; view; view = view->m_superview) {
        if (!view->m_gestureRecognizers)
            continue;
        for (id candidate : *view->m_gestureRecognizers) {
            auto *recognizer = static_cast<UIGestureRecognizer *>(candidate);
            if (msg<BOOL>(recognizer, "isKindOfClass:"_sel, cls) && recognizer->shouldBegin())
                return recognizer;
        }
    }
    return nil;
}

} // namespace

bool tapAt(UIView *root, CGPoint point)
{
    if (!root)
        return false;
    auto *hit = msg<UIView *, CGPoint, id>(root, "hitTest:withEvent:"_sel, point, nil);
    UIGestureRecognizer *recognizer = recognizerFor(hit, UITapGestureRecognizer::class_());
    if (!recognizer)
        return false;
    recognizer->m_location = root->convertPointToView(point, recognizer->m_view);
    recognizer->transitionTo(UIGestureRecognizerStateRecognized);
    recognizer->m_state = UIGestureRecognizerStatePossible;
    return true;
}

bool pinch(UIView *view, const std::vector<CGFloat> &scales, double secondsPerStep)
{
    auto *recognizer = static_cast<UIPinchGestureRecognizer *>(
        recognizerFor(view, UIPinchGestureRecognizer::class_()));
    if (!recognizer || scales.empty())
        return false;
    StrongRef<UIPinchGestureRecognizer> keep(recognizer);
    CGRect bounds = recognizer->m_view->bounds();
    recognizer->m_location = {CGRectGetMidX(bounds), CGRectGetMidY(bounds)};
    for (std::size_t i = 0; i < scales.size(); ++i) {
        CGFloat previous = i ? scales[i - 1] : scales[0];
        recognizer->m_velocity = secondsPerStep > 0 ? (scales[i] - previous) / secondsPerStep : 0;
        recognizer->m_scale = scales[i];
        UIGestureRecognizerState state = i == 0                   ? UIGestureRecognizerStateBegan
                                         : i + 1 == scales.size() ? UIGestureRecognizerStateEnded
                                                                  : UIGestureRecognizerStateChanged;
        recognizer->transitionTo(state);
    }
    recognizer->m_state = UIGestureRecognizerStatePossible;
    return true;
}

} // namespace sim
