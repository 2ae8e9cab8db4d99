#pragma once
// The operations of SectionListController that live in files of their own (slider entry,
// shared value lists, the icon-list block), declared for the class's registration block.

#include "settings-panel/SectionListController.h"
#include "uikit/UIAlertView.h"
#include "uikit/UITapGestureRecognizer.h"

// SliderEntry.cpp
UITableViewCell *SectionListController_tableViewCellForRowAtIndexPath(SectionListController *self,
                                                                      SEL _cmd, UITableView *table,
                                                                      NSIndexPath *path);
void SectionListController_sliderCellTapped(SectionListController *self, SEL,
                                            UITapGestureRecognizer *recognizer);
void SectionListController_showEditAlertForSlider(SectionListController *self, SEL,
                                                  UISlider *slider);
void SectionListController_handleEditCommitFromAlert(SectionListController *self, SEL,
                                                     UIAlertView *alert);

// ListBuilders.cpp
NSArray *SectionListController_percentTitles(SectionListController *, SEL);
NSArray *SectionListController_percentValues(SectionListController *, SEL);
NSArray *SectionListController_columnTitles(SectionListController *, SEL);
NSArray *SectionListController_columnValues(SectionListController *, SEL);
NSArray *SectionListController_rowTitles(SectionListController *, SEL);
NSArray *SectionListController_rowValues(SectionListController *, SEL);

// IconListBlock.cpp
NSArray *SectionListController_iconListSpecifiers(SectionListController *self, SEL,
                                                  NSString *resizeFooter, NSString *labelsFooter,
                                                  BOOL isDock);

// The panel's alerts: titled "Corvane", with the page as delegate, told apart by tag.
// Texts are English and shown localised; `other` may be nullptr. The alert is shown and
// keeps itself until it is dismissed; the result is not owned.
UIAlertView *CVShowPanelAlert(id delegate, const char *message, const char *cancel,
                              const char *other, NSInteger tag,
                              UIAlertViewStyle style = UIAlertViewStyleDefault);
