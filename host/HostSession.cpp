#include "host/HostSession.h"

#include <algorithm>
#include <map>
#include <optional>

#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "UIKit/UITextField.h"
#include "host/IGMainFeedViewController.h"
#include "host/SnapshotCommand.h"

namespace {

std::map<std::string, SessionCommandEntry>& registry();

UITableView* tableOf(UIViewController* controller) {
    Ref<UIView> view = send<Ref<UIView>>(controller, "view"_sel);
    return as<UITableView>(view.get());
}

std::optional<long> number(const std::string& text) {
    try {
        std::size_t used = 0;
        long value = std::stol(text, &used);
        return used == text.size() ? std::optional<long>(value) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string tapBarButton(HostSession& session, const std::string& side) {
    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(session.top(), "navigationItem"_sel);
    Ref<UIBarButtonItem> button =
        side == "left" ? item->leftBarButtonItem() : item->rightBarButtonItem();
    if (!button) return "There is no " + side + " bar button on this screen.";
    if (!button->tap()) session.out() << "(the button does nothing)\n";
    return "";
}

std::string tapRow(HostSession& session, const SessionArguments& args) {
    UITableView* table = tableOf(session.top());
    if (!table) return "This screen has no rows to tap.";
    Ref<NSIndexPath> path;
    if (args.size() == 2) {
        auto section = number(args[0]), row = number(args[1]);
        if (!section || !row) return "tap takes SECTION ROW as numbers, or a \"row title\".";
        path = NSIndexPath::indexPathForRow(*row, *section);
    } else if (UITableViewCell* cell = session.rowTitled(args[0])) {
        path = table->indexPathForCell(cell);
    }
    if (!path || !table->tapRowAtIndexPath(path))
        return "Nothing to tap there on this screen; \"show\" lists the rows.";
    return "";
}

std::string tap(HostSession& session, const SessionArguments& args) {
    if (args.empty() || args.size() > 2) return "tap needs \"ROW TITLE\", SECTION ROW or right.";
    if (args[0] == "right" || args[0] == "left") return tapBarButton(session, args[0]);
    if (args[0] == "bar" && args.size() == 2) return tapBarButton(session, args[1]);
    return tapRow(session, args);
}

// The control of the row titled args[0], as C, with a message when it is not one.
template <class C>
C* controlOf(HostSession& session, const SessionArguments& args, const char* kind,
             std::string& problem) {
    if (args.empty()) {
        problem = std::string("Name the row: \"TITLE\".");
        return nullptr;
    }
    UITableViewCell* cell = session.rowTitled(args[0]);
    C* control = cell ? as<C>(cell->accessoryView()) : nullptr;
    if (!control) problem = "No row \"" + args[0] + "\" with a " + kind + " on this screen.";
    return control;
}

std::string flip(HostSession& session, const SessionArguments& args) {
    std::string problem;
    if (auto* toggle = controlOf<UISwitch>(session, args, "switch", problem)) toggle->flip();
    return problem;
}

std::string restOfLine(const SessionArguments& args) {
    std::string text;
    for (std::size_t i = 1; i < args.size(); ++i)
        text += (i > 1 ? " " : "") + args[i];
    return text;
}

std::string type(HostSession& session, const SessionArguments& args) {
    std::string problem;
    if (auto* field = controlOf<UITextField>(session, args, "text field", problem))
        field->typeText(restOfLine(args));
    return problem;
}

std::string pressReturn(HostSession& session, const SessionArguments& args) {
    std::string problem;
    if (auto* field = controlOf<UITextField>(session, args, "text field", problem))
        field->pressReturn();
    return problem;
}

std::string pick(HostSession& session, const SessionArguments& args) {
    std::string problem;
    auto* control = controlOf<UISegmentedControl>(session, args, "segmented control", problem);
    if (!control) return problem;
    auto index = args.size() == 2 ? number(args[1]) : std::nullopt;
    if (!index || !control->pickSegment(*index))
        return "pick needs a segment from 0 to " + std::to_string(control->numberOfSegments() - 1) +
               ".";
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

std::string help(HostSession& session, const SessionArguments&) {
    for (const auto& [name, entry] : registry())
        session.out() << "  " << entry.usage
                      << std::string(26 - std::min<std::size_t>(25, entry.usage.size()), ' ')
                      << entry.help << "\n";
    return "";
}

std::map<std::string, SessionCommandEntry>& registry() {
    static std::map<std::string, SessionCommandEntry> commands = {
        {"feed", {"feed", "go back to the main feed", feed}},
        {"settings", {"settings", "open the account settings from the feed", settings}},
        {"refresh", {"refresh", "pull the feed to refresh: read the feed file again", refresh}},
        {"tap", {"tap right | \"ROW\" | S R", "tap a bar button or a table row", tap}},
        {"flip", {"flip \"ROW\"", "flip the row's switch", flip}},
        {"type", {"type \"ROW\" TEXT", "type into the row's text field", type}},
        {"return", {"return \"ROW\"", "press return in the row's text field", pressReturn}},
        {"pick", {"pick \"ROW\" INDEX", "pick a segment of the row's control", pick}},
        {"back", {"back", "go back one screen", back}},
        {"show", {"show", "show the screen again", {}}},
        {"help", {"help", "list the commands", help, false}},
        {"quit", {"quit", "end the session", {}}},
    };
    return commands;
}

} // namespace

void addSessionCommand(const std::string& name, SessionCommandEntry entry) {
    registry()[name] = std::move(entry);
}

HostSession::HostSession(NSArray* feedObjects, std::ostream& out, const std::string& feedFile)
    : _out(out) {
    Ref<IGMainFeedViewController> feedScreen =
        IGMainFeedViewController::controllerWithObjects(feedObjects);
    if (!feedFile.empty()) feedScreen->dataSource()->setFeedPath(NSString::string(feedFile));
    _navigation = UINavigationController::navigationControllerWithRootViewController(feedScreen);
    transitionAppearance(nullptr, _navigation, false);
    UIApplication::sharedApplication()->setURLHandler([&out](NSURL* url) {
        out << "open URL: " << (url->absoluteString() ? url->absoluteString()->utf8() : "") << "\n";
        return true;
    });
}

HostSession::~HostSession() {
    UIApplication::sharedApplication()->setURLHandler({});
}

SessionArguments HostSession::split(const std::string& line) {
    SessionArguments words;
    std::string word;
    bool quoted = false, started = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (started) words.push_back(std::exchange(word, {}));
            started = false;
        } else {
            word += c;
            started = true;
        }
    }
    if (started) words.push_back(word);
    return words;
}

void HostSession::show() {
    _out << "\n" << screenText(_navigation)->utf8() << "\n";
    if (_snapshotFolder.empty()) return;
    std::string file = _snapshotFolder + "/" + snapshotFileName(++_snapshots, _navigation);
    if (std::string problem = writeSnapshot(_navigation, file); !problem.empty())
        _out << problem << "\n";
}

UITableViewCell* HostSession::rowTitled(const std::string& title) const {
    UITableView* table = tableOf(top());
    if (!table) return nullptr;
    for (long s = 0; s < table->numberOfSections(); ++s)
        for (long r = 0; r < table->numberOfRowsInSection(s); ++r) {
            UITableViewCell* cell =
                table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s));
            NSString* text = cell ? cell->textLabel()->text() : nullptr;
            if (text && text->utf8() == title) return cell;
        }
    return nullptr;
}

bool HostSession::run(const std::string& line) {
    SessionArguments words = split(line);
    if (words.empty() || words[0][0] == '#') return !_done;
    auto found = registry().find(words[0]);
    if (found == registry().end()) {
        _out << "Unknown command \"" << words[0] << "\"; \"help\" lists the commands.\n";
        return !_done;
    }
    if (words[0] == "quit") return !(_done = true);
    const SessionCommand& command = found->second.run;
    std::string problem = command ? command(*this, {words.begin() + 1, words.end()}) : "";
    if (!problem.empty())
        _out << problem << "\n";
    else if (found->second.showsScreen)
        show();
    return !_done;
}

void HostSession::runAll(std::istream& in, bool prompt, bool echo) {
    std::string line;
    while (!_done) {
        if (prompt) _out << "tavelin> " << std::flush;
        if (!std::getline(in, line)) break;
        if (echo && line.starts_with("#"))
            _out << "\n" << line << "\n";
        else if (echo && !split(line).empty())
            _out << "> " << line << "\n";
        run(line);
    }
}

const std::vector<std::string>& tourCommands() {
    static const std::vector<std::string> tour = {
        "# The main feed (with the library: no sponsored items).",
        "feed",
        "# The account settings (with the library: its settings button at the right).",
        "settings",
        "# The button at the right, then Velin Mode on and a tap on a credits row.",
        "tap right",
        "flip \"Velin Mode\"",
        "tap \"TorvenAskel\"",
        "back",
        "# The feed again (with Velin Mode on: nobody's name or place).",
        "feed",
        "# Pull to refresh: each post is given its owner and place again (with Velin Mode on, "
        "the library drops them).",
        "refresh",
        "# With the library: Velin Mode off again, as it was before the tour.",
        "settings",
        "tap right",
        "flip \"Velin Mode\"",
        "# The feed (with the library: still nobody's name or place, since the posts were given "
        "theirs while Velin Mode was on and kept none).",
        "feed",
        "# Pull to refresh again: each post is given its owner and place anew and shows them.",
        "refresh",
    };
    return tour;
}
