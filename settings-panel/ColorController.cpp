// ColorController: the colour editor. It shows the colour picker (a wheel of hue and
// saturation) with a brightness slider below it, starting from the colour its delegate
// has stored; while the user picks, the navigation bar shows the colour, and when the
// finger lifts the delegate (the page that opened the editor, named by the row's
// "CV3ColorControllerDelegate" property) stores it.

#include "settings-panel/SectionListController.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"

namespace {

struct ColorController : SectionListController {
    StrongRef<objc_object> m_picker;
    StrongRef<objc_object> m_brightnessSlider;
};

Class g_class;

constexpr CGFloat kPickerWidthFactor = 0.95;
constexpr CGFloat kSliderInsetFactor = 0.1;
constexpr CGFloat kSliderWidthFactor = 0.8;
constexpr CGFloat kSliderHeight = 30;
constexpr CGFloat kDefaultBarHeight = 44;

id delegateOf(ColorController *self)
{
    return CVEditorDelegate(self, CVColorControllerDelegateKey());
}

// A plain view over the screen, in the colour the list would have had.
void loadView(ColorController *self, SEL _cmd)
{
    msgSuper<void>(g_class, self, _cmd);
    UIColor *background = msg<UIColor *>(msg<id>(self, "view"_sel), "backgroundColor"_sel);
    CGRect screen = msg<CGRect>(msg<id>(UIScreen::class_(), "mainScreen"_sel), "bounds"_sel);
    id view = msg<id, CGRect>(msg<id>(UIView::class_(), "alloc"_sel), "initWithFrame:"_sel, screen);
    msg<void>(view, "setBackgroundColor:"_sel, background);
    msg<void>(self, "setView:"_sel, view);
    objc_release(view);
}

CGFloat navigationBarHeight(ColorController *self)
{
    id bar = CVVisibleNavigationBar(self);
    return bar ? msg<CGRect>(bar, "frame"_sel).size.height : kDefaultBarHeight;
}

id newControl(const char *className, CGRect frame)
{
    return msg<id, CGRect>(msg<id>(objc_getClass(className), "alloc"_sel), "initWithFrame:"_sel,
                           frame);
}

void buildPicker(ColorController *self)
{
    id view = msg<id>(self, "view"_sel);
    CGRect bounds = msg<CGRect>(view, "bounds"_sel);
    CGFloat width = bounds.size.width, height = bounds.size.height;
    CGFloat side = kPickerWidthFactor * width;
    CGRect pickerFrame{{(width - side) / 2, (height - side) / 2}, {side, side}};
    id picker = newControl("ColorPickerView", pickerFrame);
    self->m_picker = StrongRef<objc_object>::adopt(picker);
    msg<void, BOOL>(picker, "setCropToCircle:"_sel, YES);
    msg<void>(picker, "setSelectionColor:"_sel,
              msg<UIColor *>(delegateOf(self), "colorControllerRequestingSavedColor:"_sel,
                             static_cast<id>(self)));
    msg<void>(picker, "setDelegate:"_sel, static_cast<id>(self));
    msg<void>(view, "addSubview:"_sel, picker);

    CGRect sliderFrame{
        {kSliderInsetFactor * width, height - navigationBarHeight(self) - kSliderHeight},
        {kSliderWidthFactor * width, kSliderHeight}};
    id slider = newControl("BrightnessSlider", sliderFrame);
    self->m_brightnessSlider = StrongRef<objc_object>::adopt(slider);
    msg<void>(slider, "setColorPicker:"_sel, picker);
    msg<void>(view, "addSubview:"_sel, slider);
}

void viewWillAppear(ColorController *self, SEL _cmd, BOOL animated)
{
    if (!self->m_picker)
        buildPicker(self);
    msgSuper<void>(g_class, self, _cmd, animated);
}

UIColor *tintColor(ColorController *self, SEL)
{
    return msg<UIColor *>(self->m_picker.get(), "selectionColor"_sel);
}

NSArray *noRows(ColorController *, SEL)
{
    return NSArray::array();
}

BOOL showsResetButton(ColorController *, SEL)
{
    return NO;
}

void selectionChanged(ColorController *self, SEL, id picker)
{
    msg<void>(CVVisibleNavigationBar(self), "setTintColor:"_sel,
              msg<UIColor *>(picker, "selectionColor"_sel));
}

void touchesBegan(ColorController *, SEL, id, id, id) {}

void touchesEnded(ColorController *self, SEL, id picker, id, id)
{
    msg<void>(delegateOf(self), "colorController:didSelectColor:"_sel, static_cast<id>(self),
              msg<UIColor *>(picker, "selectionColor"_sel));
}

const Class kRegistered = [] {
    SectionListController::class_(); // the superclass first
    g_class = ClassBuilder<ColorController>("ColorController", "SectionListController")
                  .method("loadView", loadView)
                  .method("viewWillAppear:", viewWillAppear)
                  .method("specifiers", noRows)
                  .method("tintColor", tintColor)
                  .method("showsResetButton", showsResetButton)
                  .method("colorPickerDidChangeSelection:", selectionChanged)
                  .method("colorPicker:touchesBegan:withEvent:", touchesBegan)
                  .method("colorPicker:touchesEnded:withEvent:", touchesEnded)
                  .registerClass();
    return g_class;
}();

} // namespace
