#include "uikit/UITableView.h"

#include "foundation/NSLog.h"
#include "uikit/ControlParts.h"
#include "uikit/UIEvent.h"
#include "uikit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kGroupedHeaderHeight = 35;
constexpr CGFloat kGroupedTitledHeaderHeight = 55;
constexpr CGFloat kPlainTitledHeight = 22;
constexpr CGFloat kSectionTextSize = 13;
constexpr CGFloat kFooterPadding = 8;
constexpr CGFloat kGroupedBottomPadding = 20;

bool answers(id object, SEL selector)
{
    return msg<BOOL, SEL>(object, "respondsToSelector:"_sel, selector);
}

NSString *askTitle(UITableView *table, SEL selector, NSInteger section)
{
    if (!answers(table->m_dataSource, selector))
        return nil;
    return msg<NSString *, UITableView *, NSInteger>(table->m_dataSource, selector, table, section);
}

NSInteger askSectionCount(UITableView *table)
{
    SEL selector = "numberOfSectionsInTableView:"_sel;
    if (!table->m_dataSource)
        return 0;
    if (!answers(table->m_dataSource, selector))
        return 1;
    return std::max<NSInteger>(0,
                               msg<NSInteger, UITableView *>(table->m_dataSource, selector, table));
}

NSInteger askRowCount(UITableView *table, NSInteger section)
{
    return std::max<NSInteger>(
        0, msg<NSInteger, UITableView *, NSInteger>(
               table->m_dataSource, "tableView:numberOfRowsInSection:"_sel, table, section));
}

bool hasText(NSString *text)
{
    return text && text->length();
}

// A header or footer label of the section, placed in the content and shown to the
// delegate (tableView:willDisplayHeaderView:forSection: or …FooterView…), which may style
// it.
UILabel *addSectionLabel(UITableView *table, NSString *text, CGRect frame, SEL willDisplay,
                         NSInteger section)
{
    UILabel *label = sim::makeLabel(kSectionTextSize, sim::secondaryTextColor());
    msg<void, NSInteger>(label, "setNumberOfLines:"_sel, 0);
    msg<void, NSString *>(label, "setText:"_sel, text);
    msg<void, CGRect>(label, "setFrame:"_sel, frame);
    msg<void, UIView *>(table, "addSubview:"_sel, label);
    table->m_sectionLabels.emplace_back(label);
    if (answers(table->m_delegate, willDisplay))
        msg<void, UITableView *, UIView *, NSInteger>(table->m_delegate, willDisplay, table, label,
                                                      section);
    return label;
}

CGFloat textWidth(UITableView *table)
{
    return std::max<CGFloat>(0, table->bounds().size.width - 2 * UITableViewCell::kLeadingInset);
}

CGFloat footerTextHeight(UITableView *table, NSString *text)
{
    UILabel *probe = sim::makeLabel(kSectionTextSize, sim::secondaryTextColor());
    msg<void, NSInteger>(probe, "setNumberOfLines:"_sel, 0);
    msg<void, NSString *>(probe, "setText:"_sel, text);
    return std::ceil(
        msg<CGSize, CGSize>(probe, "sizeThatFits:"_sel, CGSize{textWidth(table), 0}).height);
}

// Heights of each section's header and footer, and where each section begins.
void measureSections(UITableView *table)
{
    bool grouped = table->m_style == UITableViewStyleGrouped;
    CGFloat y = 0;
    for (auto &section : table->m_sections) {
        section.top = y;
        if (grouped)
            section.headerHeight =
                hasText(section.headerTitle) ? kGroupedTitledHeaderHeight : kGroupedHeaderHeight;
        else
            section.headerHeight = hasText(section.headerTitle) ? kPlainTitledHeight : 0;
        if (!hasText(section.footerTitle))
            section.footerHeight = 0;
        else if (grouped)
            section.footerHeight =
                footerTextHeight(table, section.footerTitle) + 2 * kFooterPadding;
        else
            section.footerHeight = kPlainTitledHeight;
        y = section.rowsTop() + section.rows * table->m_rowHeight + section.footerHeight;
    }
    if (grouped && !table->m_sections.empty())
        y += kGroupedBottomPadding;
    msg<void, CGSize>(table, "setContentSize:"_sel, CGSize{table->bounds().size.width, y});
}

void addSectionLabels(UITableView *table)
{
    for (auto &label : table->m_sectionLabels)
        msg<void>(label, "removeFromSuperview"_sel);
    table->m_sectionLabels.clear();
    CGFloat x = UITableViewCell::kLeadingInset;
    CGFloat width = textWidth(table);
    for (std::size_t i = 0; i < table->m_sections.size(); ++i) {
        const auto &section = table->m_sections[i];
        if (hasText(section.headerTitle)) {
            CGFloat height = kPlainTitledHeight;
            addSectionLabel(table, section.headerTitle,
                            {x, section.rowsTop() - height, width, height},
                            "tableView:willDisplayHeaderView:forSection:"_sel, i);
        }
        if (hasText(section.footerTitle)) {
            CGFloat top = section.rowsTop() + section.rows * table->m_rowHeight;
            addSectionLabel(
                table, section.footerTitle,
                {x, top + kFooterPadding, width, section.footerHeight - 2 * kFooterPadding},
                "tableView:willDisplayFooterView:forSection:"_sel, i);
        }
    }
}

void enqueueCell(UITableView *table, UITableViewCell *cell)
{
    StrongRef<UITableViewCell> keep(cell);
    msg<void>(cell, "removeFromSuperview"_sel);
    if (cell->m_reuseIdentifier)
        table->m_reusableCells[cell->m_reuseIdentifier->str()].emplace_back(cell);
}

void enqueueVisibleCells(UITableView *table)
{
    auto cells = std::move(table->m_visibleCells);
    table->m_visibleCells.clear();
    for (auto &[key, cell] : cells)
        enqueueCell(table, cell);
}

// The cell the data source makes for a row, placed in the content.
void showCell(UITableView *table, UITableView::RowKey key)
{
    NSIndexPath *path = NSIndexPath::indexPathForRowInSection(key.second, key.first);
    auto *cell = msg<UITableViewCell *, UITableView *, NSIndexPath *>(
        table->m_dataSource, "tableView:cellForRowAtIndexPath:"_sel, table, path);
    if (!cell) {
        NSLog("UITableView: the data source gave no cell for row %ld of section %ld",
              static_cast<long>(key.second), static_cast<long>(key.first));
        return;
    }
    table->m_visibleCells[key] = cell;
    msg<void, CGRect>(cell, "setFrame:"_sel, table->rectForRow(key.first, key.second));
    bool selected = sim::objectsEqual(table->m_selectedRow, path);
    if (selected != cell->m_selected)
        msg<void, BOOL>(cell, "setSelected:"_sel, selected);
    msg<void, UIView *>(table, "addSubview:"_sel, cell);
    msg<void>(cell, "setNeedsLayout"_sel);
}

// Shows cells for the rows the bounds cover and returns the others to the pool.
void tileCells(UITableView *table)
{
    CGRect visible = table->bounds();
    std::vector<UITableView::RowKey> needed;
    for (std::size_t s = 0; s < table->m_sections.size(); ++s) {
        const auto &section = table->m_sections[s];
        if (section.rows == 0 || table->m_rowHeight <= 0)
            continue;
        CGFloat top = CGRectGetMinY(visible) - section.rowsTop();
        CGFloat bottom = CGRectGetMaxY(visible) - section.rowsTop();
        NSInteger first = std::max<NSInteger>(0, std::floor(top / table->m_rowHeight));
        NSInteger last =
            std::min<NSInteger>(section.rows - 1, std::ceil(bottom / table->m_rowHeight) - 1);
        for (NSInteger row = first; row <= last; ++row)
            needed.emplace_back(s, row);
    }
    for (auto it = table->m_visibleCells.begin(); it != table->m_visibleCells.end();) {
        if (std::find(needed.begin(), needed.end(), it->first) == needed.end()) {
            StrongRef<UITableViewCell> cell = it->second;
            it = table->m_visibleCells.erase(it);
            enqueueCell(table, cell);
        } else {
            ++it;
        }
    }
    for (const auto &key : needed)
        if (!table->m_visibleCells.count(key))
            showCell(table, key);
}

void reload(UITableView *table)
{
    enqueueVisibleCells(table);
    table->m_needsReload = true;
    table->updateSectionsIfNeeded();
    tileCells(table);
}

UITableView::RowKey keyOf(NSIndexPath *path)
{
    return {path->m_section, path->m_row};
}

UITableViewCell *visibleCell(UITableView *table, NSIndexPath *path)
{
    if (!path)
        return nil;
    auto found = table->m_visibleCells.find(keyOf(path));
    return found == table->m_visibleCells.end() ? nil : found->second.get();
}

bool rowExists(UITableView *table, NSIndexPath *path)
{
    table->updateSectionsIfNeeded();
    return path && path->m_section >= 0 &&
           path->m_section < static_cast<NSInteger>(table->m_sections.size()) && path->m_row >= 0 &&
           path->m_row < table->m_sections[path->m_section].rows;
}

// Scrolls as little as needed for the row to be wholly in view.
void scrollRowVisible(UITableView *table, NSIndexPath *path)
{
    CGRect row = table->rectForRow(path->m_section, path->m_row);
    CGRect bounds = table->bounds();
    CGPoint offset = bounds.origin;
    if (CGRectGetMinY(row) < CGRectGetMinY(bounds))
        offset.y = CGRectGetMinY(row);
    else if (CGRectGetMaxY(row) > CGRectGetMaxY(bounds))
        offset.y = CGRectGetMaxY(row) - bounds.size.height;
    CGPoint maximum = table->maximumContentOffset();
    CGPoint minimum = table->minimumContentOffset();
    offset.y = std::clamp(offset.y, minimum.y, std::max(minimum.y, maximum.y));
    if (offset.y != bounds.origin.y) {
        msg<void, CGPoint>(table, "setContentOffset:"_sel, offset);
        tileCells(table);
    }
}

void highlightTouchedRow(UITableView *table, bool highlighted)
{
    UITableViewCell *cell = visibleCell(table, table->m_touchedRow);
    if (cell && cell->m_selectionStyle != UITableViewCellSelectionStyleNone)
        msg<void, BOOL>(cell, "setHighlighted:"_sel, highlighted);
}

NSIndexPath *rowUnderTouch(UITableView *table, NSSet *touches)
{
    auto *touch = static_cast<UITouch *>(touches ? touches->anyObject() : nil);
    return touch ? table->indexPathForPoint(touch->locationInView(table)) : nil;
}

namespace imp {

id initWithFrameStyle(UITableView *self, SEL, CGRect frame, UITableViewStyle style)
{
    msgSuper<id, CGRect>(UITableView::class_(), self, "initWithFrame:"_sel, frame);
    self->m_style = style;
    msg<void, UIColor *>(self, "setBackgroundColor:"_sel,
                         style == UITableViewStyleGrouped
                             ? UIColor::colorWithRedGreenBlueAlpha(0.937, 0.937, 0.957, 1)
                             : UIColor::whiteColor());
    return self;
}

id initWithFrame(UITableView *self, SEL, CGRect frame)
{
    return msg<id, CGRect, UITableViewStyle>(self, "initWithFrame:style:"_sel, frame,
                                             UITableViewStylePlain);
}

UITableViewStyle style(UITableView *self, SEL)
{
    return self->m_style;
}

void setDataSource(UITableView *self, SEL, id dataSource)
{
    self->m_dataSource = dataSource;
    self->m_needsReload = true;
    msg<void>(self, "setNeedsLayout"_sel);
}

void setRowHeight(UITableView *self, SEL, CGFloat height)
{
    self->m_rowHeight = std::max<CGFloat>(0, height);
    self->m_needsReload = true;
    msg<void>(self, "setNeedsLayout"_sel);
}

void reloadData(UITableView *self, SEL)
{
    reload(self);
}

NSInteger numberOfSections(UITableView *self, SEL)
{
    self->updateSectionsIfNeeded();
    return self->m_sections.size();
}

NSInteger numberOfRowsInSection(UITableView *self, SEL, NSInteger section)
{
    self->updateSectionsIfNeeded();
    if (section < 0 || section >= static_cast<NSInteger>(self->m_sections.size()))
        return 0;
    return self->m_sections[section].rows;
}

UITableViewCell *cellForRowAtIndexPath(UITableView *self, SEL, NSIndexPath *path)
{
    msg<void>(self, "layoutIfNeeded"_sel);
    return visibleCell(self, path);
}

UITableViewCell *dequeueReusableCellWithIdentifier(UITableView *self, SEL, NSString *identifier)
{
    if (!identifier)
        return nil;
    auto pool = self->m_reusableCells.find(identifier->str());
    if (pool == self->m_reusableCells.end() || pool->second.empty())
        return nil;
    StrongRef<UITableViewCell> cell = pool->second.back();
    pool->second.pop_back();
    msg<void>(cell, "prepareForReuse"_sel);
    return autorelease(retain(cell.get()));
}

NSIndexPath *indexPathForCell(UITableView *self, SEL, UITableViewCell *cell)
{
    for (const auto &[key, shown] : self->m_visibleCells)
        if (shown == cell)
            return NSIndexPath::indexPathForRowInSection(key.second, key.first);
    return nil;
}

NSIndexPath *indexPathForRowAtPoint(UITableView *self, SEL, CGPoint point)
{
    return self->indexPathForPoint(point);
}

NSArray *visibleCells(UITableView *self, SEL)
{
    msg<void>(self, "layoutIfNeeded"_sel);
    NSMutableArray *cells = NSMutableArray::array();
    for (const auto &[key, cell] : self->m_visibleCells)
        cells->addObject(cell);
    return cells;
}

NSArray *indexPathsForVisibleRows(UITableView *self, SEL)
{
    msg<void>(self, "layoutIfNeeded"_sel);
    NSMutableArray *paths = NSMutableArray::array();
    for (const auto &[key, cell] : self->m_visibleCells)
        paths->addObject(NSIndexPath::indexPathForRowInSection(key.second, key.first));
    return paths;
}

CGRect rectForRowAtIndexPath(UITableView *self, SEL, NSIndexPath *path)
{
    return path ? self->rectForRow(path->m_section, path->m_row) : CGRectNull;
}

void selectRowAtIndexPath(UITableView *self, SEL, NSIndexPath *path, BOOL,
                          UITableViewScrollPosition position)
{
    if (self->m_selectedRow)
        msg<void, BOOL>(visibleCell(self, self->m_selectedRow), "setSelected:"_sel, NO);
    self->m_selectedRow = rowExists(self, path) ? path : nil;
    if (!self->m_selectedRow)
        return;
    if (position != UITableViewScrollPositionNone)
        scrollRowVisible(self, path);
    msg<void, BOOL>(visibleCell(self, path), "setSelected:"_sel, YES);
}

void deselectRowAtIndexPathAnimated(UITableView *self, SEL, NSIndexPath *path, BOOL)
{
    msg<void, BOOL>(visibleCell(self, path), "setSelected:"_sel, NO);
    if (sim::objectsEqual(self->m_selectedRow, path))
        self->m_selectedRow = nil;
}

void scrollToRow(UITableView *self, SEL, NSIndexPath *path, UITableViewScrollPosition, BOOL)
{
    if (rowExists(self, path))
        scrollRowVisible(self, path);
}

void setBounds(UITableView *self, SEL _cmd, CGRect bounds)
{
    msgSuper<void, CGRect>(UITableView::class_(), self, _cmd, bounds);
    msg<void>(self, "setNeedsLayout"_sel);
}

void layoutSubviews(UITableView *self, SEL)
{
    self->updateSectionsIfNeeded();
    tileCells(self);
}

void touchesBegan(UITableView *self, SEL, NSSet *touches, UIEvent *)
{
    self->m_touchedRow = rowUnderTouch(self, touches);
    highlightTouchedRow(self, true);
}

// A finger that leaves the row it came down on lets it go.
void touchesMoved(UITableView *self, SEL, NSSet *touches, UIEvent *)
{
    if (!sim::objectsEqual(rowUnderTouch(self, touches), self->m_touchedRow)) {
        highlightTouchedRow(self, false);
        self->m_touchedRow = nil;
    }
}

void touchesEnded(UITableView *self, SEL, NSSet *touches, UIEvent *)
{
    StrongRef<NSIndexPath> touched = self->m_touchedRow;
    highlightTouchedRow(self, false);
    self->m_touchedRow = nil;
    if (touched && sim::objectsEqual(rowUnderTouch(self, touches), touched))
        self->selectRowByUser(touched);
}

void touchesCancelled(UITableView *self, SEL, NSSet *, UIEvent *)
{
    highlightTouchedRow(self, false);
    self->m_touchedRow = nil;
}

} // namespace imp

const Class kRegistered = UITableView::class_();

} // namespace

Class UITableView::class_()
{
    static const Class cls = [] {
        UIScrollView::class_();
        return ClassBuilder<UITableView>("UITableView", "UIScrollView")
            .method("initWithFrame:", imp::initWithFrame)
            .method("initWithFrame:style:", imp::initWithFrameStyle)
            .method("style", imp::style)
            .getter<&UITableView::m_dataSource>("dataSource")
            .method("setDataSource:", imp::setDataSource)
            .getter<&UITableView::m_rowHeight>("rowHeight")
            .method("setRowHeight:", imp::setRowHeight)
            .property<&UITableView::m_allowsSelection>("allowsSelection")
            .method("reloadData", imp::reloadData)
            .method("numberOfSections", imp::numberOfSections)
            .method("numberOfRowsInSection:", imp::numberOfRowsInSection)
            .method("cellForRowAtIndexPath:", imp::cellForRowAtIndexPath)
            .method("dequeueReusableCellWithIdentifier:", imp::dequeueReusableCellWithIdentifier)
            .method("indexPathForCell:", imp::indexPathForCell)
            .method("indexPathForRowAtPoint:", imp::indexPathForRowAtPoint)
            .method("visibleCells", imp::visibleCells)
            .method("indexPathsForVisibleRows", imp::indexPathsForVisibleRows)
            .method("rectForRowAtIndexPath:", imp::rectForRowAtIndexPath)
            .getter<&UITableView::m_selectedRow>("indexPathForSelectedRow")
            .method("selectRowAtIndexPath:animated:scrollPosition:", imp::selectRowAtIndexPath)
            .method("deselectRowAtIndexPath:animated:", imp::deselectRowAtIndexPathAnimated)
            .method("scrollToRowAtIndexPath:atScrollPosition:animated:", imp::scrollToRow)
            .method("setBounds:", imp::setBounds)
            .method("layoutSubviews", imp::layoutSubviews)
            .method("touchesBegan:withEvent:", imp::touchesBegan)
            .method("touchesMoved:withEvent:", imp::touchesMoved)
            .method("touchesEnded:withEvent:", imp::touchesEnded)
            .method("touchesCancelled:withEvent:", imp::touchesCancelled)
            .registerClass();
    }();
    return cls;
}

void UITableView::updateSectionsIfNeeded()
{
    if (!m_needsReload)
        return;
    m_needsReload = false;
    StrongRef<UITableView> keep(this);
    enqueueVisibleCells(this);
    m_sections.clear();
    NSInteger count = askSectionCount(this);
    for (NSInteger i = 0; i < count; ++i) {
        SectionLayout section;
        section.rows = askRowCount(this, i);
        section.headerTitle = askTitle(this, "tableView:titleForHeaderInSection:"_sel, i);
        section.footerTitle = askTitle(this, "tableView:titleForFooterInSection:"_sel, i);
        m_sections.push_back(std::move(section));
    }
    measureSections(this);
    addSectionLabels(this);
    if (m_selectedRow && !rowExists(this, m_selectedRow))
        m_selectedRow = nil;
}

CGRect UITableView::rectForRow(NSInteger section, NSInteger row)
{
    updateSectionsIfNeeded();
    if (section < 0 || section >= static_cast<NSInteger>(m_sections.size()) || row < 0 ||
        row >= m_sections[section].rows)
        return CGRectNull;
    CGFloat y = m_sections[section].rowsTop() + row * m_rowHeight;
    return {0, y, bounds().size.width, m_rowHeight};
}

NSIndexPath *UITableView::indexPathForPoint(CGPoint point)
{
    updateSectionsIfNeeded();
    if (m_rowHeight <= 0)
        return nil;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        const auto &section = m_sections[s];
        CGFloat offset = point.y - section.rowsTop();
        if (offset < 0 || offset >= section.rows * m_rowHeight)
            continue;
        return NSIndexPath::indexPathForRowInSection(static_cast<NSInteger>(offset / m_rowHeight),
                                                     s);
    }
    return nil;
}

void UITableView::selectRowByUser(NSIndexPath *path)
{
    StrongRef<UITableView> keep(this);
    if (!m_allowsSelection || !rowExists(this, path))
        return;
    SEL willSelect = "tableView:willSelectRowAtIndexPath:"_sel;
    if (answers(m_delegate, willSelect)) {
        path = msg<NSIndexPath *, UITableView *, NSIndexPath *>(m_delegate, willSelect, this, path);
        if (!rowExists(this, path))
            return;
    }
    StrongRef<NSIndexPath> chosen(path);
    scrollRowVisible(this, chosen);
    msg<void, NSIndexPath *, BOOL, UITableViewScrollPosition>(
        this, "selectRowAtIndexPath:animated:scrollPosition:"_sel, chosen, NO,
        UITableViewScrollPositionNone);
    SEL didSelect = "tableView:didSelectRowAtIndexPath:"_sel;
    if (answers(m_delegate, didSelect))
        msg<void, UITableView *, NSIndexPath *>(m_delegate, didSelect, this, chosen);
}
