#include "settings-panel/CVPanelException.h"

#include "foundation/NSLog.h"
#include "foundation/NSString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void CVRaiseInternalInconsistency(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    NSString *reason = NSString::stringWithFormatV(format, arguments);
    va_end(arguments);
    NSLog("*** Terminating app due to uncaught exception 'NSInternalInconsistencyException', "
          "reason: '%s'",
          reason->UTF8String());
    std::abort();
}
