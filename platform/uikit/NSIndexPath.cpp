#include "uikit/NSIndexPath.h"
#include "foundation/Copying.h"

#include "foundation/NSString.h"

namespace {
namespace imp {

NSIndexPath *indexPathForRowInSection(id, SEL, NSInteger row, NSInteger section)
{
    return NSIndexPath::indexPathForRowInSection(row, section);
}

NSInteger section(NSIndexPath *self, SEL)
{
    return self->m_section;
}

NSInteger row(NSIndexPath *self, SEL)
{
    return self->m_row;
}

BOOL isEqual(NSIndexPath *self, SEL, id other)
{
    if (!other || !msg<BOOL>(other, "isKindOfClass:"_sel, NSIndexPath::class_()))
        return NO;
    auto *path = static_cast<NSIndexPath *>(other);
    return path->m_section == self->m_section && path->m_row == self->m_row;
}

NSUInteger hash(NSIndexPath *self, SEL)
{
    return static_cast<NSUInteger>(self->m_section) * 1000003u +
           static_cast<NSUInteger>(self->m_row);
}

// Section order first, then row order: NSOrderedAscending -1, same 0, descending 1.
NSInteger compare(NSIndexPath *self, SEL, NSIndexPath *other)
{
    auto key = [](const NSIndexPath *path) { return std::pair(path->m_section, path->m_row); };
    if (key(self) < key(other))
        return -1;
    return key(other) < key(self) ? 1 : 0;
}

NSString *description(NSIndexPath *self, SEL)
{
    return NSString::stringWithFormat("<NSIndexPath> {length = 2, path = %ld - %ld}",
                                      static_cast<long>(self->m_section),
                                      static_cast<long>(self->m_row));
}

} // namespace imp

const Class kRegistered = NSIndexPath::class_();

} // namespace

Class NSIndexPath::class_()
{
    static const Class cls =
        ClassBuilder<NSIndexPath>("NSIndexPath", "NSObject")
            .classMethod("indexPathForRow:inSection:", imp::indexPathForRowInSection)
            .method("section", imp::section)
            .method("row", imp::row)
            .method("isEqual:", imp::isEqual)
            .method("hash", imp::hash)
            .method("compare:", imp::compare)
            .method("copy", sim::copyByRetaining)
            .method("description", imp::description)
            .registerClass();
    return cls;
}

NSIndexPath *NSIndexPath::indexPathForRowInSection(NSInteger row, NSInteger section)
{
    auto *path = sim::create<NSIndexPath>(class_());
    path->m_section = section;
    path->m_row = row;
    return autorelease(path);
}
