#include "UIKit/TableLayout.h"

#include <algorithm>
#include <glib.h>

#include "UIKit/TextDrawing.h"
#include "UIKit/UITableView.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kTextMargin = 15;
constexpr CGFloat kSectionSpacing = 35;
constexpr CGFloat kSpacingAfterFooter = 17;
constexpr CGFloat kHeaderTop = 22;
constexpr CGFloat kTextToGroup = 7;
constexpr CGFloat kSectionTextSize = 13;

// Grouped sections stand in from the sides, more on wide screens.
CGFloat groupInset(const UITableView* table) {
    if (table->style() != UITableViewStyleGrouped) return 0;
    return table->frame().size.width >= 414 ? 20 : 16;
}

std::string uppercase(const std::string& text) {
    gchar* upper = g_utf8_strup(text.c_str(), static_cast<gssize>(text.size()));
    std::string out(upper);
    g_free(upper);
    return out;
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

} // namespace

TextStyle sectionTextStyle() {
    TextStyle style;
    style.size = kSectionTextSize;
    style.color = UIColor::secondaryLabelColor()->components();
    style.lines = 0;
    return style;
}

TableLayout computeTableLayout(UITableView* table) {
    TableLayout layout;
    UIEdgeInsets safe = table->safeAreaInsets();
    CGFloat inset = groupInset(table);
    CGFloat width =
        std::max<CGFloat>(0, table->frame().size.width - 2 * inset - safe.left - safe.right);
    inset += safe.left;
    CGFloat textX = inset + kTextMargin;
    CGFloat textWidth = std::max<CGFloat>(0, width - 2 * kTextMargin);
    CGFloat y = safe.top;
    bool footerAbove = false;
    for (long s = 0; s < table->numberOfSections(); ++s) {
        TableSectionLayout section;
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
        layout.sections.push_back(std::move(section));
    }
    layout.contentHeight = y + kSectionSpacing + safe.bottom;
    return layout;
}
