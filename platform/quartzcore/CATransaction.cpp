#include "quartzcore/CATransaction.h"

#include "foundation/NSLog.h"

#include <vector>

namespace {

Class g_transactionClass;

// The disable-actions flag of each open transaction, innermost last; the first entry is
// the implicit top level. Transactions belong to the main thread.
std::vector<bool> &flags()
{
    static std::vector<bool> stack{false};
    return stack;
}

const Class kRegistered = [] {
    g_transactionClass =
        ClassBuilder<CATransaction>("CATransaction", "NSObject")
            .classMethod(
                "begin", +[](id, SEL) { CATransaction::begin(); })
            .classMethod(
                "commit", +[](id, SEL) { CATransaction::commit(); })
            .classMethod(
                "flush", +[](id, SEL) { CATransaction::flush(); })
            .classMethod(
                "disableActions", +[](id, SEL) { return CATransaction::disableActions(); })
            .classMethod(
                "setDisableActions:",
                +[](id, SEL, BOOL disable) { CATransaction::setDisableActions(disable); })
            .registerClass();
    return g_transactionClass;
}();

} // namespace

Class CATransaction::class_()
{
    return g_transactionClass;
}

void CATransaction::begin()
{
    flags().push_back(flags().back());
}

void CATransaction::commit()
{
    if (flags().size() == 1) {
        NSLog("CATransaction: commit without begin ignored");
        return;
    }
    flags().pop_back();
}

void CATransaction::flush() {}

bool CATransaction::disableActions()
{
    return flags().back();
}

void CATransaction::setDisableActions(bool disable)
{
    flags().back() = disable;
}
