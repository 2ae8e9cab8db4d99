#pragma once
// Keeping a bitmap context's Cairo copy and the caller's bytes in step (private to the
// context's files). The caller's bytes are the truth: every drawing call pulls them into
// Cairo's copy, draws, and pushes the result back. sim::cairoOf pulls and marks Cairo as
// ahead; the next call on the context settles by pushing first. For a context that Cairo
// draws in place the copies are no-ops and only Cairo's flush and mark-dirty remain.

#include "quartzcore/CGContext.h"

namespace sim {

void pullFromCaller(CGContext *context);
void pushToCaller(CGContext *context);
// Pushes what Cairo drew through cairoOf, if anything.
void settleCairo(CGContext *context);

// Brackets one drawing call: pulls on construction, pushes when it goes away.
class DrawingCall {
public:
    explicit DrawingCall(CGContext *context) : m_context(context) { pullFromCaller(context); }
    ~DrawingCall() { pushToCaller(m_context); }
    DrawingCall(const DrawingCall &) = delete;
    DrawingCall &operator=(const DrawingCall &) = delete;

private:
    CGContext *m_context;
};

} // namespace sim
