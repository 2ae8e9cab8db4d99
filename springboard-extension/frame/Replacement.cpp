// The loud stops of the replacement checks. A replacement, added method or variable access
// of the wrong type is a fault in a feature's table: it must stop SpringBoard at its first
// start in a checked build, not corrupt a call frame or an object later.

#include "springboard-extension/frame/Replacement.h"

#include "foundation/NSLog.h"

#include <cstdlib>

namespace {

// "-[SBIconListView sideIconInset]", or "+[…]" for a class method.
std::string describeMethod(Class cls, SEL selector)
{
    return std::string(class_isMetaClass(cls) ? "+[" : "-[") + class_getName(cls) + " " +
           sel_getName(selector) + "]";
}

} // namespace

void CVStopOnReplacementTypes(Class cls, SEL selector, const char *methodTypes,
                              const std::string &replacementTypes)
{
    NSLog("[Corvane][ERROR]: ReplaceMethod: %s has the type encoding %s, its replacement %s",
          describeMethod(cls, selector).c_str(), methodTypes, replacementTypes.c_str());
    std::abort();
}

void CVStopOnAddedMethodTypes(Class cls, SEL selector, const char *literalTypes,
                              const std::string &implementationTypes)
{
    NSLog("[Corvane][ERROR]: AddMethod: %s is declared %s, its implementation is %s",
          describeMethod(cls, selector).c_str(), literalTypes ? literalTypes : "(null)",
          implementationTypes.c_str());
    std::abort();
}

void CVStopOnIvarType(id object, const char *name, const char *ivarTypes,
                      const std::string &accessTypes)
{
    NSLog("[Corvane][ERROR]: CVGetIvar/CVSetIvar: %s of %s has the type encoding %s, not %s", name,
          object_getClassName(object), ivarTypes, accessTypes.c_str());
    std::abort();
}

void CVStopOnSuperclassCallersExhausted(const std::string &signature)
{
    NSLog("[Corvane][ERROR]: ReplaceMethod: more inherited methods of the signature %s are "
          "replaced than superclass callers exist; raise CVSuperclassCallers::kCapacity",
          signature.c_str());
    std::abort();
}
