#include "UIKit/TableDrawing.h"

#include <glib.h>

#include "UIKit/TextDrawing.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kCornerRadius = 10;
constexpr CGFloat kTextMargin = 15;
constexpr CGFloat kSectionSpacing = 35;
constexpr CGFloat kSpacingAfterFooter = 17;
constexpr CGFloat kHeaderTop = 22;
constexpr CGFloat kTextToGroup = 7;
constexpr CGFloat kSectionTextSize = 13;

bool isGrouped(const UITableView* table) {
    return table->style() == UITableViewStyleGrouped;
}

// Grouped sections stand in from the sides, more on wide screens.
CGFloat groupInset(const UITableView* table) {
    if (!isGrouped(table)) return 0;
    return table->frame().size.width >= 414 ? 20 : 16;
}

std::string uppercase(const std::string& text) {
    gchar* upper = g_utf8_strup(text.c_str(), static_cast<gssize>(text.size()));
    std::string out(upper);
    g_free(upper);
    return out;
}

TextStyle sectionTextStyle() {
    TextStyle style;
    style.size = kSectionTextSize;
    style.color = palette::kSectionText;
    style.lines = 0;
    return style;
}

std::string textOf(const Ref<NSString>& text) {
    return text ? text->utf8() : std::string();
}

// A text block at y across the text width: its rectangle, advancing y.
CGRect placeText(const std::string& text, CGFloat x, CGFloat width, CGFloat* y) {
    CGFloat height = textSize(text, sectionTextStyle(), width).height;
    CGRect rect = CGRectMake(x, *y, width, height);
    *y += height;
    return rect;
}

void drawTable(id self, SEL, DrawContext* context) {
    auto* table = static_cast<UITableView*>(self);
    UIColor::Components fallback = isGrouped(table) ? palette::kGroupedBackground : palette::kWhite;
    cairo_t* cr = context->cr;
    setSourceColor(cr, componentsOr(table->backgroundColor(), fallback));
    CGRect bounds = table->bounds();
    cairo_rectangle(cr, 0, 0, bounds.size.width, bounds.size.height);
    cairo_fill(cr);
    for (const TableSectionFrames& section : tableFrames(table).sections) {
        drawText(cr, section.header, sectionTextStyle(), section.headerRect);
        drawText(cr, section.footer, sectionTextStyle(), section.footerRect);
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
    strokePath(cr, palette::kPlaceholder, 2);
}

void drawCheckmark(cairo_t* cr, CGFloat right, CGFloat middle, const UIColor::Components& tint) {
    cairo_move_to(cr, right - 14, middle + 0.5);
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
    CGFloat right = cell->bounds().size.width - 16;
    CGFloat middle = cell->bounds().size.height / 2;
    switch (cell->accessoryType()) {
    case UITableViewCellAccessoryDisclosureIndicator:
        drawChevron(cr, right, middle);
        break;
    case UITableViewCellAccessoryDetailDisclosureButton:
        drawChevron(cr, right, middle);
        drawInfoButton(cr, right - 30, middle, tintOf(cell));
        break;
    case UITableViewCellAccessoryCheckmark:
        drawCheckmark(cr, right, middle, tintOf(cell));
        break;
    default:
        break;
    }
}

void drawSeparator(DrawContext* context, UITableViewCell* cell) {
    CGFloat x = cell->contentView()->frame().origin.x + cell->textLabel()->frame().origin.x;
    x = std::max(x, kTextMargin);
    CGFloat line = 1 / context->scale;
    CGRect bounds = cell->bounds();
    setSourceColor(context->cr, palette::kSeparator);
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
    UIColor::Components background = componentsOr(cell->backgroundColor(), palette::kWhite);
    if (cell->isHighlighted()) background = palette::kHighlight;
    fillRoundedRect(context->cr, cell->bounds(), kCornerRadius, background, corners);
    if (!place.last) drawSeparator(context, cell);
    drawAccessory(context->cr, cell);
}

} // namespace

TableFrames tableFrames(UITableView* table) {
    TableFrames frames;
    CGFloat inset = groupInset(table);
    CGFloat width = std::max<CGFloat>(0, table->frame().size.width - 2 * inset);
    CGFloat textX = inset + kTextMargin;
    CGFloat textWidth = std::max<CGFloat>(0, width - 2 * kTextMargin);
    CGFloat y = 0;
    bool footerAbove = false;
    for (long s = 0; s < table->numberOfSections(); ++s) {
        TableSectionFrames section;
        section.header = uppercase(textOf(table->headerTitleForSection(s)));
        section.footer = textOf(table->footerTitleForSection(s));
        if (!section.header.empty()) {
            y += footerAbove ? kSpacingAfterFooter : kHeaderTop;
            section.headerRect = placeText(section.header, textX, textWidth, &y);
            y += kTextToGroup;
        } else {
            y += footerAbove ? kSpacingAfterFooter : kSectionSpacing;
        }
        for (long r = 0; r < table->numberOfRowsInSection(s); ++r) {
            CGFloat height = table->heightForRow(NSIndexPath::indexPathForRow(r, s));
            section.rows.push_back(CGRectMake(inset, y, width, height));
            y += height;
        }
        footerAbove = !section.footer.empty();
        if (footerAbove) {
            y += kTextToGroup;
            section.footerRect = placeText(section.footer, textX, textWidth, &y);
        }
        frames.sections.push_back(std::move(section));
    }
    frames.contentHeight = y + kSectionSpacing;
    return frames;
}

void layoutTableForDrawing(UITableView* table) {
    if (!table) return;
    table->layoutIfNeeded();
    TableFrames frames = tableFrames(table);
    for (std::size_t s = 0; s < frames.sections.size(); ++s)
        for (std::size_t r = 0; r < frames.sections[s].rows.size(); ++r) {
            UITableViewCell* cell =
                table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s));
            cell->setFrame(frames.sections[s].rows[r]);
            cell->layoutIfNeeded();
        }
}

void registerTableDrawing() {
    addDrawMethod(UITableView::objcClass(), drawTable);
    addDrawMethod(UITableViewCell::objcClass(), drawCell);
}
