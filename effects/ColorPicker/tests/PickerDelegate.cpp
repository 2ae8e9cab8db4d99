#include "PickerTest.h"

#include "foundation/NSSet.h"

namespace {

void record(PickerDelegate *self, const char *message, ColorPickerView *picker, bool withTouches)
{
    self->heard.push_back({message, picker->selection(), withTouches});
}

void didChangeSelection(PickerDelegate *self, SEL, ColorPickerView *picker)
{
    record(self, "didChangeSelection", picker, false);
}

void touchesBegan(PickerDelegate *self, SEL, ColorPickerView *picker, NSSet *touches, id event)
{
    record(self, "touchesBegan", picker, touches && event);
}

void touchesEnded(PickerDelegate *self, SEL, ColorPickerView *picker, NSSet *touches, id event)
{
    record(self, "touchesEnded", picker, touches && event);
}

} // namespace

Class PickerDelegate::class_()
{
    static const Class cls = ClassBuilder<PickerDelegate>("PickerDelegate", "NSObject")
                                 .method("colorPickerDidChangeSelection:", didChangeSelection)
                                 .method("colorPicker:touchesBegan:withEvent:", touchesBegan)
                                 .method("colorPicker:touchesEnded:withEvent:", touchesEnded)
                                 .registerClass();
    return cls;
}

StrongRef<PickerDelegate> PickerDelegate::make()
{
    return StrongRef<PickerDelegate>::adopt(sim::create<PickerDelegate>(class_()));
}

std::vector<std::string> PickerDelegate::messages() const
{
    std::vector<std::string> names;
    for (const Heard &h : heard)
        names.push_back(h.message);
    return names;
}
