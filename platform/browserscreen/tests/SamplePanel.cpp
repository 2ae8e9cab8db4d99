#include "SamplePanel.h"

#include "foundation/NSSet.h"
#include "objc/runtime.h"

namespace sample {

namespace {

struct SampleRootPage : PSListController {};
struct SampleDrawnPage : PSViewController {};
struct TouchRecordingView : UIView {};

id readValue(SampleRootPage *, SEL, PSSpecifier *row)
{
    auto found = panel().values.find(row->identifier()->str());
    return found == panel().values.end() ? nil : found->second.get();
}

void writeValue(SampleRootPage *, SEL, id value, PSSpecifier *row)
{
    panel().writes.emplace_back(row->identifier()->str(), value);
    panel().values[row->identifier()->str()] = value;
}

PSSpecifier *row(SampleRootPage *page, const char *name, const char *identifier, NSInteger type)
{
    auto *specifier = msg<PSSpecifier *, NSString *, id, SEL, SEL, Class, NSInteger, Class>(
        PSSpecifier::class_(), "preferenceSpecifierNamed:target:set:get:detail:cell:edit:"_sel,
        NSString::stringWithUTF8String(name), page, "writeValue:forRow:"_sel,
        "readValueForRow:"_sel, Nil, type, Nil);
    specifier->setPropertyForKey(NSString::stringWithUTF8String(identifier), "id"_ns);
    return specifier;
}

NSArray *specifiers(SampleRootPage *self, SEL)
{
    if (self->m_specifiers)
        return self->m_specifiers;
    NSMutableArray *rows = NSMutableArray::array();
    rows->addObject(row(self, "Enabled", "enabled", PSSwitchCell));
    auto *group = msg<PSSpecifier *, NSString *>(PSSpecifier::class_(),
                                                 "groupSpecifierWithName:"_sel, "Sizes"_ns);
    group->setPropertyForKey("Pick a size."_ns, "footerText"_ns);
    rows->addObject(group);
    PSSpecifier *slider = row(self, "", "scale", PSSliderCell);
    slider->setPropertyForKey(NSNumber::numberWithFloat(1), "min"_ns);
    slider->setPropertyForKey(NSNumber::numberWithFloat(3), "max"_ns);
    slider->setPropertyForKey(kCFBooleanTrue, "showValue"_ns);
    rows->addObject(slider);
    PSSpecifier *text = row(self, "Label", "label", PSEditTextCell);
    text->setPropertyForKey("Type here"_ns, "placeholder"_ns);
    rows->addObject(text);
    PSSpecifier *link = row(self, "Drawing", "drawing", PSLinkCell);
    link->m_detailControllerClass = objc_getClass("SampleDrawnPage");
    rows->addObject(link);
    self->m_specifiers = rows;
    return rows;
}

id rootPageInitForContentSize(SampleRootPage *self, SEL _cmd, CGSize size)
{
    ++panel().rootPagesMade;
    return msgSuper<id, CGSize>(objc_getClass("SampleRootPage"), self, _cmd, size);
}

void loadDrawnView(SampleDrawnPage *self, SEL)
{
    id view = msg<id>(objc_getClass("TouchRecordingView"), "alloc"_sel);
    view = msg<id, CGRect>(view, "initWithFrame:"_sel, CGRectMake(0, 0, 320, 480));
    msg<void>(view, "setBackgroundColor:"_sel, UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1));
    msg<void>(self, "setView:"_sel, view);
    objc_release(view);
}

void record(const char *phase, UIView *view, NSSet *touches)
{
    auto *touch = static_cast<UITouch *>(touches->anyObject());
    panel().touches.emplace_back(phase, touch->locationInView(view));
}

void touchesBegan(TouchRecordingView *self, SEL, NSSet *touches, id)
{
    record("began", self, touches);
}

void touchesMoved(TouchRecordingView *self, SEL, NSSet *touches, id)
{
    record("moved", self, touches);
}

void touchesEnded(TouchRecordingView *self, SEL, NSSet *touches, id)
{
    record("ended", self, touches);
}

} // namespace

Panel &panel()
{
    static Panel state;
    return state;
}

void registerClasses()
{
    static const bool registered = [] {
        PSListController::class_();
        ClassBuilder<SampleRootPage>("SampleRootPage", "PSListController")
            .method("specifiers", specifiers)
            .method("initForContentSize:", rootPageInitForContentSize)
            .method("readValueForRow:", readValue)
            .method("writeValue:forRow:", writeValue)
            .registerClass();
        ClassBuilder<SampleDrawnPage>("SampleDrawnPage", "PSViewController")
            .method("loadView", loadDrawnView)
            .registerClass();
        ClassBuilder<TouchRecordingView>("TouchRecordingView", "UIView")
            .method("touchesBegan:withEvent:", touchesBegan)
            .method("touchesMoved:withEvent:", touchesMoved)
            .method("touchesEnded:withEvent:", touchesEnded)
            .registerClass();
        return true;
    }();
    (void)registered;
}

} // namespace sample
