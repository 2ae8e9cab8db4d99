#pragma once
// Categories: methods that the library adds to a platform class when it loads, as the
// phone's runtime attaches a category to its class. Each method is a plain function
// `R f(Receiver *self, SEL _cmd, Args...)`; its type encoding comes from that signature,
// so a sender with other types is caught by the checked message send. A selector that
// the class already implements keeps its implementation (class_addMethod refuses it).

#include "objc/ClassBuilder.h"
#include "objc/encode.h"

template <class R, class Receiver, class... Args>
void CVAddCategoryMethod(Class cls, const char *selector,
                         R (*implementation)(Receiver *, SEL, Args...))
{
    class_addMethod(cls, sel_registerName(selector), reinterpret_cast<IMP>(implementation),
                    objc_encodeImplementation(implementation).c_str());
}
