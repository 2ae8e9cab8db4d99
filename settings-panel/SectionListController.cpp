#include "settings-panel/SectionListController.h"

#include "foundation/CoreFoundation.h"
#include "preferences/PSListItemsController.h"
#include "settings-panel/CVPanelBundle.h"
#include "settings-panel/CVPanelException.h"
#include "settings-panel/LocalizedSpecifier.h"
#include "settings-panel/SectionListControllerMethods.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UINavigationBar.h"

#include <algorithm>

namespace {

// Rows --------------------------------------------------------------------------------

PSSpecifier *rowWithTitle(SectionListController *self, NSString *title, NSString *key,
                          NSInteger cellType, Class detail = Nil)
{
    PSSpecifier *row =
        LocalizedSpecifier::rowNamed(title, self, "setPreferenceValue:specifier:"_sel,
                                     "readPreferenceValue:"_sel, detail, cellType, Nil);
    row->setPropertyForKey(key, "id"_ns);
    return row;
}

PSSpecifier *switchSpecifier(SectionListController *self, SEL, NSString *title, NSString *key)
{
    return rowWithTitle(self, title, key, PSSwitchCell);
}

PSSpecifier *listSpecifier(SectionListController *self, SEL, NSString *title, NSArray *values,
                           NSArray *titles, NSString *key)
{
    PSSpecifier *row =
        rowWithTitle(self, title, key, PSLinkListCell, PSListItemsController::class_());
    msg<void>(row, "setValues:titles:shortTitles:"_sel, values, titles, titles);
    return row;
}

PSSpecifier *sliderSpecifier(SectionListController *self, SEL, NSString *title, float minimum,
                             float maximum, BOOL showValue, NSString *key)
{
    PSSpecifier *row = rowWithTitle(self, title, key, PSSliderCell);
    row->setPropertyForKey(NSNumber::numberWithFloat(minimum), "min"_ns);
    row->setPropertyForKey(NSNumber::numberWithFloat(maximum), "max"_ns);
    row->setPropertyForKey(NSNumber::numberWithBool(showValue), "showValue"_ns);
    return row;
}

PSSpecifier *textSpecifier(SectionListController *self, SEL, NSString *placeholder, NSString *key)
{
    PSSpecifier *row = rowWithTitle(self, nil, key, PSEditTextCell);
    row->setPropertyForKey(CVLocalizedString(placeholder), "placeholder"_ns);
    return row;
}

// The page as an editor row's delegate property. Row properties are retained and the page
// holds its rows, so the property holds the page without retaining it (the editor is
// opened above its page and never outlives it).
struct CVPageReference : NSObject {
    id m_page = nil; // not retained
};

Class pageReferenceClass()
{
    static const Class cls =
        ClassBuilder<CVPageReference>("CVPageReference", "NSObject").registerClass();
    return cls;
}

// A link to an editor page that reports back to this page through the delegate property.
PSSpecifier *editorSpecifier(SectionListController *self, NSString *title, NSString *key,
                             const char *editorClass, NSString *delegateKey)
{
    PSSpecifier *row = rowWithTitle(self, title, key, PSLinkListCell, objc_getClass(editorClass));
    auto *reference = autorelease(msg<CVPageReference *>(pageReferenceClass(), "new"_sel));
    reference->m_page = self;
    row->setPropertyForKey(reference, delegateKey);
    return row;
}

PSSpecifier *colorSpecifier(SectionListController *self, SEL, NSString *title, NSString *key)
{
    return editorSpecifier(self, title, key, "ColorController", CVColorControllerDelegateKey());
}

PSSpecifier *fontSpecifier(SectionListController *self, SEL, NSString *title, NSString *key)
{
    return editorSpecifier(self, title, key, "FontListController", CVFontControllerDelegateKey());
}

PSSpecifier *appsSpecifier(SectionListController *self, SEL, NSString *title, NSString *key)
{
    return editorSpecifier(self, title, key, "AppListController",
                           CVAppsListControllerDelegateKey());
}

// Values ------------------------------------------------------------------------------

void commitSection(SectionListController *, SEL, CVSectionID sectionID, NSDictionary *changes)
{
    CVSaveSettings();
    CVSendSectionUpdate(sectionID, changes);
}

// The abstract operations.
id mustOverrideAnswering(SectionListController *, SEL _cmd)
{
    CVSubclassMustOverride(_cmd);
}

id mustOverrideRead(SectionListController *, SEL _cmd, PSSpecifier *)
{
    CVSubclassMustOverride(_cmd);
}

void mustOverrideWrite(SectionListController *, SEL _cmd, id, PSSpecifier *)
{
    CVSubclassMustOverride(_cmd);
}

void mustOverride(SectionListController *, SEL _cmd)
{
    CVSubclassMustOverride(_cmd);
}

BOOL showsResetButton(SectionListController *, SEL)
{
    return YES;
}

// Appearance and reset ----------------------------------------------------------------

void viewDidLoad(SectionListController *self, SEL _cmd)
{
    msgSuper<void>(SectionListController::class_(), self, _cmd);
    if (!msg<BOOL>(self, "showsResetButton"_sel))
        return;
    id button = msg<id>(UIBarButtonItem::class_(), "alloc"_sel);
    button = msg<id, NSString *, UIBarButtonItemStyle, id, SEL>(
        button, "initWithTitle:style:target:action:"_sel, CVLocalizedString("Reset"),
        UIBarButtonItemStylePlain, self, "showResetConfirmation:"_sel);
    msg<void>(msg<id>(self, "navigationItem"_sel), "setRightBarButtonItem:"_sel, button);
    objc_release(button);
}

void viewWillAppear(SectionListController *self, SEL _cmd, BOOL animated)
{
    msgSuper<void>(SectionListController::class_(), self, _cmd, animated);
    msg<void>(CVVisibleNavigationBar(self), "setTintColor:"_sel,
              msg<UIColor *>(self, "tintColor"_sel));
}

void showResetConfirmation(SectionListController *self, SEL, id)
{
    CVShowPanelAlert(self, "This will reset all the settings for this section.", "Cancel", "Reset",
                     CVResetAlertTag);
}

void alertViewClickedButtonAtIndex(SectionListController *self, SEL, UIAlertView *alert,
                                   NSInteger index)
{
    constexpr NSInteger kConfirmButton = 1;
    NSInteger tag = msg<NSInteger>(alert, "tag"_sel);
    if (tag == CVResetAlertTag && index == kConfirmButton)
        msg<void>(self, "resetSection"_sel);
    else if (tag == CVSliderEntryAlertTag && index == kConfirmButton)
        msg<void>(self, "handleEditCommitFromAlert:"_sel, alert);
    else if (tag == CVSliderEntryAlertTag)
        self->m_editedSlider = nil;
}

// Colour editor delegate ----------------------------------------------------------------

CGFloat colorComponent(NSArray *color, NSUInteger index)
{
    auto *number = static_cast<NSNumber *>(color->objectAtIndex(index));
    return number->doubleValue() / 255.0;
}

UIColor *savedColor(SectionListController *self, SEL, id controller)
{
    PSSpecifier *row = msg<PSSpecifier *>(controller, "specifier"_sel);
    auto *color = static_cast<NSArray *>(msg<id>(self, "readPreferenceValue:"_sel, row));
    if (!color || color->count() < 3)
        return msg<UIColor *>(UIColor::class_(), "whiteColor"_sel);
    return msg<UIColor *, CGFloat, CGFloat, CGFloat, CGFloat>(
        UIColor::class_(), "colorWithRed:green:blue:alpha:"_sel, colorComponent(color, 0),
        colorComponent(color, 1), colorComponent(color, 2), 1.0);
}

// A component as the settings keep it: times 255, truncated to a byte. Components outside
// 0…1 (extended colours) are clamped first, so that no value wraps round.
NSNumber *byteComponent(CGFloat component)
{
    CGFloat clamped = std::clamp<CGFloat>(component, 0, 1);
    return NSNumber::numberWithUnsignedChar(static_cast<unsigned char>(clamped * 255));
}

void didSelectColor(SectionListController *self, SEL, id controller, UIColor *color)
{
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    msg<BOOL>(color, "getRed:green:blue:alpha:"_sel, &red, &green, &blue, &alpha);
    NSArray *stored =
        NSArray::arrayWithObjects({byteComponent(red), byteComponent(green), byteComponent(blue),
                                   NSNumber::numberWithUnsignedChar(1)});
    msg<void>(self, "setPreferenceValue:specifier:"_sel, static_cast<id>(stored),
              msg<PSSpecifier *>(controller, "specifier"_sel));
}

Class registerSectionListController()
{
    return ClassBuilder<SectionListController>("SectionListController", "PSListController")
        .method("switchSpecifierWithTitle:key:", switchSpecifier)
        .method("listSpecifierWithTitle:values:titles:key:", listSpecifier)
        .method("sliderSpecifierWithTitle:minValue:maxValue:showValue:key:", sliderSpecifier)
        .method("textSpecifierWithPlaceholder:key:", textSpecifier)
        .method("colorSpecifierWithTitle:key:", colorSpecifier)
        .method("fontSpecifierWithTitle:key:", fontSpecifier)
        .method("appsSpecifierWithTitle:key:", appsSpecifier)
        .method("percentTitles", SectionListController_percentTitles)
        .method("percentValues", SectionListController_percentValues)
        .method("columnTitles", SectionListController_columnTitles)
        .method("columnValues", SectionListController_columnValues)
        .method("rowTitles", SectionListController_rowTitles)
        .method("rowValues", SectionListController_rowValues)
        .method("iconListSpecifiersForFooter:labelsFooter:isDock:",
                SectionListController_iconListSpecifiers)
        .method("specifiers", mustOverrideAnswering)
        .method("readPreferenceValue:", mustOverrideRead)
        .method("setPreferenceValue:specifier:", mustOverrideWrite)
        .method("commitSection:changes:", commitSection)
        .method("resetSection", mustOverride)
        .method("tintColor", mustOverrideAnswering)
        .method("showsResetButton", showsResetButton)
        .method("viewDidLoad", viewDidLoad)
        .method("viewWillAppear:", viewWillAppear)
        .method("showResetConfirmation:", showResetConfirmation)
        .method("alertView:clickedButtonAtIndex:", alertViewClickedButtonAtIndex)
        .method("tableView:cellForRowAtIndexPath:",
                SectionListController_tableViewCellForRowAtIndexPath)
        .method("sliderCellTapped:", SectionListController_sliderCellTapped)
        .method("showEditAlertForSlider:", SectionListController_showEditAlertForSlider)
        .method("handleEditCommitFromAlert:", SectionListController_handleEditCommitFromAlert)
        .method("colorControllerRequestingSavedColor:", savedColor)
        .method("colorController:didSelectColor:", didSelectColor)
        .registerClass();
}

const Class kRegistered = SectionListController::class_();

} // namespace

// Registered on first use, so that the pages, whose registration may run first, find
// their superclass.
Class SectionListController::class_()
{
    static const Class cls = registerSectionListController();
    return cls;
}

// Newer systems show the pages inside a navigation controller of their own, so the bar
// the user sees is the outer one; it falls back to the page's own bar where there is none.
id CVVisibleNavigationBar(SectionListController *page)
{
    id navigation = msg<id>(page, "navigationController"_sel);
    if (kCFCoreFoundationVersionNumber >= 1240.1) {
        if (id outer = msg<id>(navigation, "navigationController"_sel))
            navigation = outer;
    }
    return msg<id>(navigation, "navigationBar"_sel);
}

id CVEditorDelegate(id editor, NSString *delegateKey)
{
    auto *row = msg<PSSpecifier *>(editor, "specifier"_sel);
    id delegate = row ? row->propertyForKey(delegateKey) : nil;
    if (delegate && object_getClass(delegate) == pageReferenceClass())
        delegate = static_cast<CVPageReference *>(delegate)->m_page;
    if (!delegate)
        CVRaiseInternalInconsistency("Specifier must define an %s property",
                                     delegateKey->UTF8String());
    return delegate;
}

void CVSubclassMustOverride(SEL selector)
{
    CVRaiseInternalInconsistency("Subclasses must override %s", sel_getName(selector));
}

UIAlertView *CVShowPanelAlert(id delegate, const char *message, const char *cancel,
                              const char *other, NSInteger tag, UIAlertViewStyle style)
{
    id alert = msg<id>(UIAlertView::class_(), "alloc"_sel);
    alert = msg<id, NSString *, NSString *, id, NSString *, NSString *>(
        alert, "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel,
        CVLocalizedString("Corvane"), CVLocalizedString(message), delegate,
        CVLocalizedString(cancel), CVLocalizedString(other));
    msg<void>(alert, "setTag:"_sel, tag);
    msg<void>(alert, "setAlertViewStyle:"_sel, style);
    msg<void>(alert, "show"_sel);
    objc_release(alert); // a shown alert keeps itself until it is dismissed
    return static_cast<UIAlertView *>(alert);
}
