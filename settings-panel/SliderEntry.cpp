// Numeric entry for sliders: a tap on a slider row asks for the value as typed text, for
// values that a finger cannot hit exactly. Each slider cell gets a tap recognizer of its
// own (a recognizer belongs to one view, so one shared by several cells would answer only
// on the cell it was added to last). The typed value goes through the slider, which
// clamps it to its range, and reaches the row's setter as a moved slider's value does.

#include "preferences/PSSliderTableCell.h"
#include "settings-panel/SectionListControllerMethods.h"

#include <cstdlib>
#include <string>

namespace {

constexpr NSInteger kKeyboardTypeDecimalPad = 8; // UIKeyboardTypeDecimalPad

// The cell's tap recognizer, kept with the cell so that a reused cell gets no second one.
const char kSliderTapRecognizer = 0;

void ensureSliderTapRecognizer(SectionListController *self, UIView *cell)
{
    if (objc_getAssociatedObject(cell, &kSliderTapRecognizer))
        return;
    id recognizer = msg<id>(UITapGestureRecognizer::class_(), "alloc"_sel);
    recognizer =
        msg<id, id, SEL>(recognizer, "initWithTarget:action:"_sel, self, "sliderCellTapped:"_sel);
    msg<void>(cell, "addGestureRecognizer:"_sel, recognizer);
    objc_setAssociatedObject(cell, &kSliderTapRecognizer, recognizer,
                             OBJC_ASSOCIATION_ASSIGN); // the cell holds its recognizers
    objc_release(recognizer);
}

// The shortest text that reads back as exactly the slider's value, so that confirming
// the preset text unchanged leaves the value as it is.
NSString *textForValue(float value)
{
    char text[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return NSString::stringWithUTF8String(text);
}

// The value of typed text: the decimal number at its start, 0 when there is none (so
// "inf", "nan" and hexadecimal text are 0, which the slider then clamps to its range).
float typedValue(NSString *text)
{
    return msg<float>(text, "floatValue"_sel);
}

} // namespace

UITableViewCell *SectionListController_tableViewCellForRowAtIndexPath(SectionListController *self,
                                                                      SEL _cmd, UITableView *table,
                                                                      NSIndexPath *path)
{
    auto *cell =
        msgSuper<UITableViewCell *>(SectionListController::class_(), self, _cmd, table, path);
    if (cell && object_getClass(cell) == PSSliderTableCell::class_())
        ensureSliderTapRecognizer(self, cell);
    return cell;
}

void SectionListController_sliderCellTapped(SectionListController *self, SEL,
                                            UITapGestureRecognizer *recognizer)
{
    id cell = msg<id>(recognizer, "view"_sel);
    if (auto *slider = msg<UISlider *>(cell, "control"_sel))
        msg<void>(self, "showEditAlertForSlider:"_sel, slider);
}

void SectionListController_showEditAlertForSlider(SectionListController *self, SEL,
                                                  UISlider *slider)
{
    self->m_editedSlider = slider;
    UIAlertView *alert =
        CVShowPanelAlert(self, "Edit the value of the slider by typing a numeric value here.",
                         "Cancel", "Set", CVSliderEntryAlertTag, UIAlertViewStylePlainTextInput);
    id field = msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0);
    msg<void>(field, "setText:"_sel, textForValue(msg<float>(slider, "value"_sel)));
    if (msg<BOOL>(field, "respondsToSelector:"_sel, "setKeyboardType:"_sel))
        msg<void>(field, "setKeyboardType:"_sel, kKeyboardTypeDecimalPad);
}

void SectionListController_handleEditCommitFromAlert(SectionListController *self, SEL,
                                                     UIAlertView *alert)
{
    StrongRef<UISlider> slider = std::move(self->m_editedSlider);
    id field = msg<id, NSInteger>(alert, "textFieldAtIndex:"_sel, 0);
    float value = typedValue(msg<NSString *>(field, "text"_sel));
    if (!slider || value == msg<float>(slider.get(), "value"_sel))
        return;
    msg<void>(slider.get(), "setValue:"_sel, value);
    msg<void>(slider.get(), "sendActionsForControlEvents:"_sel, UIControlEventValueChanged);
}
