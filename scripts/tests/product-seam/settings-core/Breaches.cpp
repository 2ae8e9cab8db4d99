// Product code that reaches past the platform's public interface, once in each way the
// seam check must catch (scripts/tests/check-product-seam.sh).
#include "foundation/Clock.h"
#include "foundation/NSString.h"
#include "foundation/tests/Watchdog.h"
#include "objc/encode.h"
#include "settings-core/CVSettings.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdlib.h>
#include <sys/epoll.h>

double elapsed()
{
    return sim::now();
}
