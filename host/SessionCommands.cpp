#include "host/SessionCommands.h"

#include <algorithm>
#include <filesystem>
#include <glib.h>
#include <optional>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSUserDefaults.h"
#include "ObjectModel/Message.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "UIKit/UITextField.h"
#include "host/HostProgram.h"
#include "host/IGMainFeedViewController.h"

namespace {

std::optional<long> number(const std::string& text) {
    try {
        std::size_t used = 0;
        long value = std::stol(text, &used);
        return used == text.size() ? std::optional<long>(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

UIView* topView(HostSession& session) {
    Ref<UIView> view = send<Ref<UIView>>(session.top(), "view"_sel);
    return view.get();
}

std::string tapBarButton(HostSession& session, const std::string& side) {
    if (side != "left" && side != "right")
        return "tap bar takes left or right, not \"" + side + "\".";
    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(session.top(), "navigationItem"_sel);
    Ref<UIBarButtonItem> button =
        side == "left" ? item->leftBarButtonItem() : item->rightBarButtonItem();
    if (!button) return "There is no " + side + " bar button on this screen.";
    if (!button->tap()) session.out() << "(the button does nothing)\n";
    return "";
}

// SECTION ROW, both counted from 1.
std::string tapSectionRow(UITableView* table, const SessionArguments& args) {
    auto section = number(args[0]), row = number(args[1]);
    if (!section || !row) return "tap takes SECTION ROW as numbers from 1, or a row.";
    if (!table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(*row - 1, *section - 1)))
        return "No row " + args[1] + " in section " + args[0] + " on this screen.";
    return "";
}

std::string tap(HostSession& session, const SessionArguments& args) {
    if (args.size() == 1 && (args[0] == "right" || args[0] == "left"))
        return tapBarButton(session, args[0]);
    if (args[0] == "bar")
        return args.size() == 2 ? tapBarButton(session, args[1]) : "Usage: tap bar left|right";
    auto* table = as<UITableView>(topView(session));
    if (!table) return "This screen has no rows to tap.";
    if (args.size() == 2) return tapSectionRow(table, args);
    Result<UITableViewCell*> cell = session.findRow(args[0]);
    if (!cell) return cell.problem();
    table->tapRowAtIndexPath(table->indexPathForCell(*cell));
    return "";
}

// The control of the kind in the row's accessory or content.
template <class C> C* controlIn(UITableViewCell* cell) {
    if (auto* control = as<C>(cell->accessoryView())) return control;
    for (NSObject* child : *cell->contentView()->subviews())
        if (auto* control = as<C>(child)) return control;
    return nullptr;
}

// The control of the row that `which` names, or the reason when there is none.
template <class C>
Result<C*> controlOf(HostSession& session, const std::string& which, const char* kind) {
    Result<UITableViewCell*> cell = session.findRow(which);
    if (!cell) return Problem{cell.problem()};
    if (C* control = controlIn<C>(*cell)) return control;
    return Problem{"The row \"" + which + "\" has no " + kind + "."};
}

std::string flip(HostSession& session, const SessionArguments& args) {
    if (args.size() == 2 && args[1] != "on" && args[1] != "off")
        return "flip takes on or off after the row, not \"" + args[1] + "\".";
    Result<UISwitch*> toggle = controlOf<UISwitch>(session, args[0], "switch");
    if (!toggle) return toggle.problem();
    bool wanted = args.size() == 2 ? args[1] == "on" : !(*toggle)->isOn();
    if ((*toggle)->isOn() != wanted) (*toggle)->flip();
    return "";
}

std::string joined(SessionArguments::const_iterator from, SessionArguments::const_iterator to) {
    std::string text;
    for (auto at = from; at != to; ++at)
        text += (at == from ? "" : " ") + *at;
    return text;
}

std::string type(HostSession& session, const SessionArguments& args) {
    bool clear = args[0] == "--clear";
    auto row = args.begin() + (clear ? 1 : 0);
    if (row == args.end() || (!clear && row + 1 == args.end()))
        return "Usage: type [--clear] \"ROW\" TEXT";
    Result<UITextField*> field = controlOf<UITextField>(session, *row, "text field");
    if (!field) return field.problem();
    if (clear) (*field)->clearText();
    (*field)->typeText(joined(row + 1, args.end()));
    return "";
}

std::string pressReturn(HostSession& session, const SessionArguments& args) {
    Result<UITextField*> field = controlOf<UITextField>(session, args[0], "text field");
    if (!field) return field.problem();
    (*field)->pressReturn();
    return "";
}

// A segment by its title (any case) or its number from 1.
std::optional<long> segmentNamed(UISegmentedControl* control, const std::string& which) {
    for (long i = 0; i < control->numberOfSegments(); ++i)
        if (NSString* title = control->titleForSegmentAtIndex(i);
            title && g_ascii_strcasecmp(title->utf8().c_str(), which.c_str()) == 0)
            return i;
    auto index = number(which);
    return index ? std::optional<long>(*index - 1) : std::nullopt;
}

std::string pick(HostSession& session, const SessionArguments& args) {
    Result<UISegmentedControl*> found =
        controlOf<UISegmentedControl>(session, args[0], "segmented control");
    if (!found) return found.problem();
    UISegmentedControl* control = *found;
    auto index = segmentNamed(control, args[1]);
    if (!index || !control->pickSegment(*index))
        return "No segment \"" + args[1] + "\"; pick takes a segment's title or its number, 1 to " +
               std::to_string(control->numberOfSegments()) + ".";
    return "";
}

std::string back(HostSession& session, const SessionArguments&) {
    if (session.navigation()->viewControllers()->count() < 2) return "Already at the feed.";
    send<Ref<UIViewController>>(session.navigation(), "popViewControllerAnimated:"_sel, true);
    return "";
}

void popToFeed(HostSession& session) {
    while (session.navigation()->viewControllers()->count() > 1)
        send<Ref<UIViewController>>(session.navigation(), "popViewControllerAnimated:"_sel, false);
}

// Goes back to the feed screen and answers it.
IGMainFeedViewController* feedScreen(HostSession& session) {
    popToFeed(session);
    return as<IGMainFeedViewController>(session.top());
}

std::string feed(HostSession& session, const SessionArguments&) {
    popToFeed(session);
    return "";
}

std::string settings(HostSession& session, const SessionArguments&) {
    feedScreen(session)->openSettings(nullptr);
    return "";
}

// Pull to refresh: the data source reads the feed file again and the feed
// shows what it answers now.
std::string refresh(HostSession& session, const SessionArguments&) {
    IGMainFeedViewController* screen = feedScreen(session);
    if (Ref<NSString> problem = screen->dataSource()->reloadFeed()) return problem->utf8();
    screen->reloadData();
    return "";
}

// Removes every setting of the standard defaults and the other defaults
// files of the root, then shows the feed afresh.
std::string reset(HostSession& session, const SessionArguments&) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    Ref<NSDictionary> saved = defaults->persistentDomain();
    for (const auto& [key, value] : saved->entries())
        defaults->removeObjectForKey(NSString::string(key));
    if (!defaults->synchronize())
        return "The settings could not be cleared in " + defaults->path() + ".";
    std::error_code failure;
    std::filesystem::path folder = devicePath(kHostPreferencesFolder);
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure))
        if (entry.is_regular_file() && entry.path().extension() == ".plist" &&
            entry.path() != defaults->path())
            std::filesystem::remove(entry.path(), failure);
    if (failure)
        return "Some settings files in " + folder.string() + " stay: " + failure.message() + ".";
    feedScreen(session)->reloadData();
    session.out() << "Settings cleared: " << defaults->path() << "\n";
    return "";
}

std::string expectText(HostSession& session, const SessionArguments& args, bool shown) {
    bool found = session.screenText().find(args[0]) != std::string::npos;
    if (found == shown) return "";
    return std::string("The screen ") + (shown ? "does not show" : "shows") + " \"" + args[0] +
           "\"; \"show\" prints it.";
}

std::string expectShown(HostSession& session, const SessionArguments& args) {
    return expectText(session, args, true);
}

std::string expectNotShown(HostSession& session, const SessionArguments& args) {
    return expectText(session, args, false);
}

// The top of the item (by number, from 1) or row (by number or title).
std::optional<CGFloat> topOfItem(HostSession& session, const std::string& which) {
    UIView* view = topView(session);
    CGRect rect = CGRectZero;
    if (auto* feed = as<IGFeedView>(view)) {
        if (auto item = number(which)) rect = feed->rectForObjectAtIndex(*item - 1);
    } else if (auto* table = as<UITableView>(view)) {
        if (Result<UITableViewCell*> cell = session.findRow(which))
            rect = table->rectForRowAtIndexPath(table->indexPathForCell(*cell));
    }
    if (CGRectEqualToRect(rect, CGRectZero)) return std::nullopt;
    return rect.origin.y;
}

std::string scroll(HostSession& session, const SessionArguments& args) {
    auto* view = as<UIScrollView>(topView(session));
    if (!view) return "This screen does not scroll.";
    view->layoutIfNeeded();
    CGPoint offset = view->contentOffset();
    CGFloat screen = view->frame().size.height;
    if (args[0] == "to" && args.size() == 2) {
        auto top = topOfItem(session, args[1]);
        if (!top) return "No item " + args[1] + " on this screen to scroll to.";
        offset.y = *top;
    } else if (args.size() == 1 && (args[0] == "down" || args[0] == "up")) {
        offset.y += args[0] == "down" ? screen : -screen;
    } else {
        return "Usage: scroll down | up | to N";
    }
    view->setContentOffset(view->clampedContentOffset(offset));
    return "";
}

std::string help(HostSession& session, const SessionArguments&) {
    constexpr std::size_t column = 30;
    for (const auto& [name, entry] : session.commands()) {
        std::size_t used = entry.usage.size();
        std::string gap = used < column ? std::string(column - used, ' ')
                                        : std::string(1, '\n').append(column + 2, ' ');
        session.out() << "  " << entry.usage << gap << entry.help << "\n";
    }
    return "";
}

SessionCommandEntry entry(std::string name, std::string usage, std::string help, SessionCommand run,
                          std::size_t minWords, std::size_t maxWords, bool showsScreen = true) {
    return {std::move(name), std::move(usage), std::move(help), std::move(run),
            showsScreen,     minWords,         maxWords};
}

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();

} // namespace

SessionCommandTable builtInCommands() {
    return {
        entry("feed", "feed", "go back to the main feed", feed, 0, 0),
        entry("settings", "settings", "open the account settings from the feed", settings, 0, 0),
        entry("refresh", "refresh", "pull the feed to refresh: read the feed file again", refresh,
              0, 0),
        entry("tap", "tap right|left | ROW | S R", "tap a bar button or a row (numbers from 1)",
              tap, 1, 2),
        entry("flip", "flip ROW [on|off]", "flip the row's switch, or set it on or off", flip, 1,
              2),
        entry("type", "type [--clear] ROW TEXT", "type into the row's text field", type, 1, kAny),
        entry("return", "return ROW", "press return in the row's text field", pressReturn, 1, 1),
        entry("pick", "pick ROW SEGMENT", "pick a segment by title or number", pick, 2, 2),
        entry("back", "back", "go back one screen", back, 0, 0),
        entry("scroll", "scroll down|up | to N", "scroll a screenful, or to item N", scroll, 1, 2),
        entry("expect", "expect \"TEXT\"", "fail unless the screen shows the text", expectShown, 1,
              1, false),
        entry("expect-not", "expect-not \"TEXT\"", "fail if the screen shows the text",
              expectNotShown, 1, 1, false),
        entry("reset", "reset", "clear the saved settings of the device root", reset, 0, 0),
        entry("show", "show", "show the screen again", {}, 0, 0),
        entry("help", "help", "list the commands", help, 0, 0, false),
        entry("quit", "quit", "end the session", {}, 0, 0),
    };
}
