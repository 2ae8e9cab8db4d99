// What happens when a message cannot be delivered as sent.

#include "objc/message.h"
#include "objc/runtime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sim {

void unrecognizedSelector(id receiver, SEL selector)
{
    Class cls = object_getClass(receiver);
    std::fprintf(stderr, "%c[%s %s]: unrecognized selector sent to %s %p\n",
                 class_isMetaClass(cls) ? '+' : '-', class_getName(cls), sel_getName(selector),
                 class_isMetaClass(cls) ? "class" : "instance", static_cast<void *>(receiver));
    std::abort();
}

void checkMessageSignature(Class cls, SEL selector, const std::string &senderEncoding)
{
    Method method = class_getInstanceMethod(cls, selector);
    if (!method || senderEncoding == method_getTypeEncoding(method))
        return;
    std::fprintf(stderr,
                 "checkMessageSignature: %c[%s %s] sent as \"%s\" but the method is \"%s\"\n",
                 class_isMetaClass(cls) ? '+' : '-', class_getName(cls), sel_getName(selector),
                 senderEncoding.c_str(), method_getTypeEncoding(method));
    std::abort();
}

void sendAction(id target, SEL action, id sender, id event)
{
    const char *name = sel_getName(action);
    auto arguments = std::count(name, name + std::strlen(name), ':');
    if (arguments == 0)
        msg<void>(target, action);
    else if (arguments == 1)
        msg<void, id>(target, action, sender);
    else
        msg<void, id, id>(target, action, sender, event);
}

} // namespace sim
