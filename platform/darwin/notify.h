#pragma once
// Darwin notifications: names that any process of the device may post and any process
// may watch. The device services keep every name, its 64-bit state and every
// registration; a post reaches each registration of every process, the poster's own
// included, before notify_post returns. A process hears of posts through its one
// connection to the services: the main run loop watches that connection and hands each
// registration's handler to its dispatch queue. Posts that follow each other faster than a
// process reads may reach a handler once, as on the phone.

#include "foundation/dispatch.h"

#include <cstdint>
#include <functional>

extern "C" {

#define NOTIFY_STATUS_OK 0
#define NOTIFY_STATUS_INVALID_NAME 1
#define NOTIFY_STATUS_INVALID_TOKEN 2
#define NOTIFY_STATUS_INVALID_PORT 3
#define NOTIFY_STATUS_INVALID_FILE 4
#define NOTIFY_STATUS_INVALID_SIGNAL 5
#define NOTIFY_STATUS_INVALID_REQUEST 6
#define NOTIFY_STATUS_NOT_AUTHORIZED 7
#define NOTIFY_STATUS_FAILED 1000000

using notify_handler_t = std::function<void(int token)>;

uint32_t notify_post(const char *name);

// A registration that is polled with notify_check.
uint32_t notify_register_check(const char *name, int *out_token);

// *check is 1 when the name was posted since the last check (and on the first check),
// else 0.
uint32_t notify_check(int token, int *check);

// A registration whose handler runs on `queue` after each post.
uint32_t notify_register_dispatch(const char *name, int *out_token, dispatch_queue_t queue,
                                  notify_handler_t handler);

uint32_t notify_cancel(int token);

// The name's state is one 64-bit value shared by the whole device; it lives as long as
// some process holds a registration for the name.
uint32_t notify_get_state(int token, uint64_t *state64);
uint32_t notify_set_state(int token, uint64_t state64);

} // extern "C"
