#pragma once
// SectionListController: the common base of every page of the panel. A page is a list of
// rows bound to the settings model: each row's getter reads one key of a shared section
// instance (gCVIcons and its siblings) and its setter loads the new value into that
// instance and commits it: the whole model is written to the settings file, then the
// change is sent to the running SpringBoard through the reload service, which applies
// it live (CVSettings.h). So every change is saved at once and seen at once.
//
// The base offers what all pages share, each as a message so that pages may override it:
//
//   rows          switchSpecifierWithTitle:key:, listSpecifierWithTitle:values:titles:key:,
//                 sliderSpecifierWithTitle:minValue:maxValue:showValue:key:, and links to
//                 the editors; the shared value lists (percentTitles/Values, column and
//                 row titles/values) and the icon-list block
//                 (iconListSpecifiersForFooter:labelsFooter:isDock:)
//   values        readPreferenceValue:, setPreferenceValue:specifier: (each page's own),
//                 commitSection:changes:
//   reset         the "Reset" bar button, its confirmation (alert tag 66), resetSection
//   appearance    the navigation bar tinted with the page's tintColor
//   slider entry  a tap on a slider row asks for the value as typed text (alert tag 21)
//   colours       the colour editor's delegate: the colour stored under the row's key
//
// Operations without a sensible default (the value path, resetSection, tintColor,
// specifiers) raise "Subclasses must override %@" in the base.

#include "preferences/PSListController.h"
#include "settings-core/CVSettings.h"
#include "uikit/UISlider.h"

struct SectionListController : PSListController {
    StrongRef<UISlider> m_editedSlider; // while the slider entry alert is up

    static Class class_();
};

// Alert tags, so that one delegate method tells the page's alerts apart.
inline constexpr NSInteger CVResetAlertTag = 66;
inline constexpr NSInteger CVSliderEntryAlertTag = 21;
inline constexpr NSInteger CVRespringAlertTag = 87188;

// The row properties that name an editor's delegate (the page that opened it).
inline NSString *CVColorControllerDelegateKey()
{
    return "CV3ColorControllerDelegate"_ns;
}
inline NSString *CVFontControllerDelegateKey()
{
    return "CV3FontControllerDelegate"_ns;
}
inline NSString *CVAppsListControllerDelegateKey()
{
    return "CV3AppsListControllerDelegate"_ns;
}

// The navigation bar the user sees above the page.
id CVVisibleNavigationBar(SectionListController *page);

// Raises "Specifier must define an %@ property" when the editor's row lacks the property
// that names its delegate; else answers the delegate (the page that made the row, or any
// object a row names directly).
id CVEditorDelegate(id editor, NSString *delegateKey);

// Raises "Subclasses must override %@" for the selector; the base's abstract operations.
[[noreturn]] void CVSubclassMustOverride(SEL selector);
