#include "UIKit/ScreenText.h"

#include <string>

#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UITableViewController.h"

namespace {

std::string textOf(NSString* text) {
    return text ? text->utf8() : std::string();
}

void appendPart(std::string& line, const std::string& part) {
    if (part.empty()) return;
    if (!line.empty()) line += "  ";
    line += part;
}

// What views describe of themselves, depth first, skipping hidden ones.
void collectViewTexts(UIView* view, std::string& out) {
    if (!view || view->isHidden()) return;
    appendPart(out, textOf(view->screenText()));
    for (NSObject* child : *view->subviews())
        collectViewTexts(static_cast<UIView*>(child), out);
}

std::string accessoryText(UITableViewCell* cell) {
    if (UIView* view = cell->accessoryView()) {
        std::string text;
        collectViewTexts(view, text);
        return text;
    }
    switch (cell->accessoryType()) {
    case UITableViewCellAccessoryDisclosureIndicator:
        return ">";
    case UITableViewCellAccessoryDetailDisclosureButton:
        return "(i) >";
    case UITableViewCellAccessoryCheckmark:
        return "✓";
    default:
        return "";
    }
}

std::string rowText(UITableViewCell* cell, long number) {
    std::string line = textOf(cell->textLabel()->text());
    if (UILabel* detail = cell->detailTextLabel()) appendPart(line, textOf(detail->text()));
    if (line.empty())
        for (NSObject* child : *cell->contentView()->subviews())
            if (child != cell->textLabel() && child != cell->detailTextLabel())
                collectViewTexts(static_cast<UIView*>(child), line);
    appendPart(line, accessoryText(cell));
    std::string mark = cell->isSelected() ? "* " : "  ";
    return mark + (number > 0 ? std::to_string(number) + ". " : "") + line + "\n";
}

void appendIndented(std::string& out, const std::string& text, const char* indent) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out += indent + text.substr(start, end - start) + "\n";
        start = end + 1;
    }
}

std::string barItemText(UIBarButtonItem* item) {
    if (!item) return "";
    std::string label = textOf(item->title());
    if (label.empty() && item->image()) label = textOf(item->image()->name());
    if (label.empty()) label = "button";
    return '[' + label + ']';
}

std::string navigationBarText(UINavigationController* navigation, UIViewController* top) {
    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(top, "navigationItem"_sel);
    std::string left = barItemText(item->leftBarButtonItem());
    Ref<NSArray> stack = navigation->viewControllers();
    if (left.empty() && stack->count() > 1) {
        auto* previous = static_cast<UIViewController*>(stack->objectAtIndex(stack->count() - 2));
        std::string back = textOf(previous->title());
        left = "< " + (back.empty() ? std::string("Back") : back);
    }
    std::string title = textOf(item->title());
    if (title.empty()) title = textOf(top->title());
    return left + " | " + title + " | " + barItemText(item->rightBarButtonItem()) + "\n";
}

std::string bodyText(UIViewController* controller, ScreenTextOptions options) {
    Ref<UIView> view = send<Ref<UIView>>(controller, "view"_sel);
    if (UITableView* table = as<UITableView>(view.get()))
        return screenTextOfTable(table, options)->utf8();
    std::string line;
    collectViewTexts(view, line);
    return line.empty() ? "" : line + "\n";
}

} // namespace

Ref<NSString> screenTextOfTable(UITableView* table, ScreenTextOptions options) {
    std::string out;
    long number = 0;
    if (!table) return NSString::string(out);
    table->layoutIfNeeded();
    for (long s = 0; s < table->numberOfSections(); ++s) {
        out += "\n";
        if (Ref<NSString> header = table->headerTitleForSection(s))
            out += "== " + header->utf8() + " ==\n";
        for (long r = 0; r < table->numberOfRowsInSection(s); ++r)
            out += rowText(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s)),
                           options.numberRows ? ++number : 0);
        if (Ref<NSString> footer = table->footerTitleForSection(s))
            appendIndented(out, footer->utf8(), "    ");
    }
    return NSString::string(out);
}

Ref<NSString> screenText(UIViewController* controller, ScreenTextOptions options) {
    auto [navigation, top] = shownController(controller);
    if (!top) return NSString::string("");
    std::string out = navigation ? navigationBarText(navigation, top) : "";
    return NSString::string(out + bodyText(top, options));
}
