#include <glib.h>

#include "UIKit/TableLayout.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UITableView.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kCornerRadius = 10;
constexpr CGFloat kSeparatorInset = 15;

bool isGrouped(const UITableView* table) {
    return table->style() == UITableViewStyleGrouped;
}

void drawTable(id self, SEL, DrawContext* context) {
    auto* table = static_cast<UITableView*>(self);
    UIColor::Components fallback = isGrouped(table)
                                       ? UIColor::systemGroupedBackgroundColor()->components()
                                       : UIColor::systemBackgroundColor()->components();
    cairo_t* cr = context->cr;
    setSourceColor(cr, componentsOr(table->backgroundColor(), fallback));
    CGRect bounds = table->bounds();
    cairo_rectangle(cr, bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height);
    cairo_fill(cr);
    TextStyle style = sectionTextStyle();
    style.alignment = alignmentIn(table, style.alignment);
    for (const TableSectionLayout& section : table->tableLayout().sections) {
        drawText(cr, section.header, style, section.headerRect);
        drawText(cr, section.footer, style, section.footerRect);
    }
}

struct RowPlace {
    bool first = true;
    bool last = true;
};

RowPlace placeInSection(UITableViewCell* cell, UITableView* table) {
    Ref<NSIndexPath> path = table ? table->indexPathForCell(cell) : nullptr;
    if (!path) return {};
    return {path->row() == 0, path->row() + 1 == table->numberOfRowsInSection(path->section())};
}

void strokePath(cairo_t* cr, const UIColor::Components& color, CGFloat width) {
    setSourceColor(cr, color);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void drawChevron(cairo_t* cr, CGFloat right, CGFloat middle) {
    cairo_move_to(cr, right - 6.5, middle - 6.5);
    cairo_line_to(cr, right, middle);
    cairo_line_to(cr, right - 6.5, middle + 6.5);
    strokePath(cr, UIColor::tertiaryLabelColor()->components(), 2);
}

constexpr CGFloat kCheckmarkWidth = 14;

void drawCheckmark(cairo_t* cr, CGFloat right, CGFloat middle, const UIColor::Components& tint) {
    cairo_move_to(cr, right - kCheckmarkWidth, middle + 0.5);
    cairo_line_to(cr, right - 9, middle + 5.5);
    cairo_line_to(cr, right, middle - 6);
    strokePath(cr, tint, 2.5);
}

void drawInfoButton(cairo_t* cr, CGFloat centreX, CGFloat middle, const UIColor::Components& tint) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, centreX, middle, 10.5, 0, 2 * G_PI);
    strokePath(cr, tint, 1.2);
    TextStyle style;
    style.size = 15;
    style.bold = true;
    style.color = tint;
    style.alignment = NSTextAlignmentCenter;
    drawText(cr, "i", style, CGRectMake(centreX - 10, middle - 10, 20, 20));
}

void drawAccessory(cairo_t* cr, UITableViewCell* cell) {
    if (cell->accessoryView()) return;
    CGFloat width = cell->bounds().size.width;
    CGFloat right = width - 16;
    CGFloat middle = cell->bounds().size.height / 2;
    // Right to left, a checkmark shows at the left end as written; the other
    // indicators face the other way.
    if (cell->accessoryType() == UITableViewCellAccessoryCheckmark) {
        drawCheckmark(cr, isRightToLeft(cell) ? width - right + kCheckmarkWidth : right, middle,
                      tintOf(cell));
        return;
    }
    MirroredDrawing mirrored(cr, cell);
    switch (cell->accessoryType()) {
    case UITableViewCellAccessoryDisclosureIndicator:
        drawChevron(cr, right, middle);
        break;
    case UITableViewCellAccessoryDetailDisclosureButton:
        drawChevron(cr, right, middle);
        drawInfoButton(cr, right - 30, middle, tintOf(cell));
        break;
    default:
        break;
    }
}

// From where the title starts to the trailing edge.
void drawSeparator(DrawContext* context, UITableViewCell* cell) {
    CGRect bounds = cell->bounds();
    CGRect title = cell->textLabel()->frame();
    CGFloat x = cell->contentView()->frame().origin.x + title.origin.x;
    if (isRightToLeft(cell)) x = bounds.size.width - x - title.size.width;
    x = std::max(x, kSeparatorInset);
    CGFloat line = 1 / context->scale;
    MirroredDrawing mirrored(context->cr, cell);
    setSourceColor(context->cr, UIColor::separatorColor()->components());
    cairo_rectangle(context->cr, x, bounds.size.height - line, bounds.size.width - x, line);
    cairo_fill(context->cr);
}

void drawCell(id self, SEL, DrawContext* context) {
    auto* cell = static_cast<UITableViewCell*>(self);
    auto* table = as<UITableView>(cell->superview());
    RowPlace place = placeInSection(cell, table);
    unsigned corners = 0;
    if (table && isGrouped(table))
        corners =
            (place.first ? kTopCorners : kNoCorners) | (place.last ? kBottomCorners : kNoCorners);
    UIColor::Components background =
        cell->backgroundColor()     ? cell->backgroundColor()->components()
        : table && isGrouped(table) ? UIColor::secondarySystemGroupedBackgroundColor()->components()
                                    : UIColor::systemBackgroundColor()->components();
    if (cell->isHighlighted()) background = UIColor::systemGray4Color()->components();
    fillRoundedRect(context->cr, cell->bounds(), kCornerRadius, background, corners);
    if (!place.last) drawSeparator(context, cell);
    drawAccessory(context->cr, cell);
}

} // namespace

void registerTableDrawing() {
    addDrawMethod(UITableView::objcClass(), drawTable);
    addDrawMethod(UITableViewCell::objcClass(), drawCell);
}
