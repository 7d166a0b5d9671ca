#include "host/FeedIcons.h"

#include <numbers>

#include "UIKit/TextDrawing.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr CGFloat kLine = 1.8;

void stroke(cairo_t* cr, const UIColor::Components& ink) {
    setSourceColor(cr, ink);
    cairo_set_line_width(cr, kLine);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void heart(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_move_to(cr, x, y + 9);
    cairo_curve_to(cr, x - 14, y, x - 9, y - 12, x, y - 5);
    cairo_curve_to(cr, x + 9, y - 12, x + 14, y, x, y + 9);
}

void bubble(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 10, 0.75 * kPi, 2.6 * kPi);
    cairo_line_to(cr, x - 10, y + 10);
    cairo_close_path(cr);
}

void share(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_move_to(cr, x - 11, y - 9);
    cairo_line_to(cr, x + 11, y - 9);
    cairo_line_to(cr, x - 1, y + 11);
    cairo_line_to(cr, x - 3, y - 1);
    cairo_close_path(cr);
    cairo_move_to(cr, x - 3, y - 1);
    cairo_line_to(cr, x + 11, y - 9);
}

void bookmark(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_move_to(cr, x - 8, y - 10);
    cairo_line_to(cr, x + 8, y - 10);
    cairo_line_to(cr, x + 8, y + 10);
    cairo_line_to(cr, x, y + 3);
    cairo_line_to(cr, x - 8, y + 10);
    cairo_close_path(cr);
}

void messenger(cairo_t* cr, CGFloat x, CGFloat y) {
    bubble(cr, x, y);
    cairo_move_to(cr, x - 5.5, y + 3);
    cairo_line_to(cr, x - 1.5, y - 2);
    cairo_line_to(cr, x + 1.5, y + 1);
    cairo_line_to(cr, x + 5.5, y - 3.5);
}

void home(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_move_to(cr, x - 10, y - 1);
    cairo_line_to(cr, x, y - 10);
    cairo_line_to(cr, x + 10, y - 1);
    cairo_line_to(cr, x + 10, y + 10);
    cairo_line_to(cr, x - 10, y + 10);
    cairo_close_path(cr);
}

void search(cairo_t* cr, CGFloat x, CGFloat y) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x - 2, y - 2, 8, 0, 2 * kPi);
    cairo_move_to(cr, x + 4, y + 4);
    cairo_line_to(cr, x + 10, y + 10);
}

void add(cairo_t* cr, CGFloat x, CGFloat y) {
    addRoundedRect(cr, CGRectMake(x - 10, y - 10, 20, 20), 6);
    cairo_move_to(cr, x, y - 5);
    cairo_line_to(cr, x, y + 5);
    cairo_move_to(cr, x - 5, y);
    cairo_line_to(cr, x + 5, y);
}

void reels(cairo_t* cr, CGFloat x, CGFloat y) {
    addRoundedRect(cr, CGRectMake(x - 10, y - 10, 20, 20), 6);
    cairo_move_to(cr, x - 10, y - 4);
    cairo_line_to(cr, x + 10, y - 4);
    cairo_move_to(cr, x - 4, y - 10);
    cairo_line_to(cr, x - 1, y - 4);
    cairo_move_to(cr, x + 2, y - 10);
    cairo_line_to(cr, x + 5, y - 4);
    cairo_move_to(cr, x - 2.5, y);
    cairo_line_to(cr, x + 3.5, y + 3);
    cairo_line_to(cr, x - 2.5, y + 6);
    cairo_close_path(cr);
}

void moreDots(cairo_t* cr, CGFloat x, CGFloat y, const UIColor::Components& ink) {
    for (CGFloat dx : {-6.0, 0.0, 6.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + dx, y, 1.6, 0, 2 * kPi);
    }
    setSourceColor(cr, ink);
    cairo_fill(cr);
}

} // namespace

void drawFeedIcon(cairo_t* cr, FeedIcon icon, CGPoint centre, const UIColor::Components& ink) {
    CGFloat x = centre.x, y = centre.y;
    switch (icon) {
    case FeedIcon::More:
        moreDots(cr, x, y, ink);
        return;
    case FeedIcon::Heart:
        heart(cr, x, y);
        break;
    case FeedIcon::Comment:
        bubble(cr, x, y);
        break;
    case FeedIcon::Share:
        share(cr, x, y);
        break;
    case FeedIcon::Bookmark:
        bookmark(cr, x, y);
        break;
    case FeedIcon::Messenger:
        messenger(cr, x, y);
        break;
    case FeedIcon::Home:
        home(cr, x, y);
        break;
    case FeedIcon::Search:
        search(cr, x, y);
        break;
    case FeedIcon::Add:
        add(cr, x, y);
        break;
    case FeedIcon::Reels:
        reels(cr, x, y);
        break;
    }
    stroke(cr, ink);
}
