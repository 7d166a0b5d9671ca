#include "host/HostSession.h"

#include <algorithm>
#include <glib.h>

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSUserDefaults.h"
#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UILabel.h"
#include "UIKit/UITableView.h"
#include "host/HostProgram.h"
#include "host/IGMainFeedViewController.h"

namespace {

struct ScreenRow {
    UITableViewCell* cell;
    std::string title;
};

std::string titleOf(UITableViewCell* cell) {
    if (NSString* text = cell->textLabel()->text(); text && text->length()) return text->utf8();
    for (NSObject* child : *cell->contentView()->subviews())
        if (auto* label = as<UILabel>(child); label && label->text()) return label->text()->utf8();
    return "";
}

std::vector<ScreenRow> rowsOf(UIViewController* controller) {
    Ref<UIView> view = send<Ref<UIView>>(controller, "view"_sel);
    auto* table = as<UITableView>(view.get());
    std::vector<ScreenRow> rows;
    for (long s = 0; table && s < table->numberOfSections(); ++s)
        for (long r = 0; r < table->numberOfRowsInSection(s); ++r)
            if (UITableViewCell* cell =
                    table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s)))
                rows.push_back({cell, titleOf(cell)});
    return rows;
}

std::string folded(const std::string& text) {
    gchar* fold = g_utf8_casefold(text.c_str(), static_cast<gssize>(text.size()));
    std::string out(fold ? fold : "");
    g_free(fold);
    return out;
}

bool isNumber(const std::string& text) {
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quotedList(const std::vector<const ScreenRow*>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i)
        text += (i == 0                 ? ""
                 : i + 1 == rows.size() ? " or "
                                        : ", ") +
                ("\"" + rows[i]->title + "\"");
    return text;
}

Result<UITableViewCell*> rowByNumber(const std::vector<ScreenRow>& rows, const std::string& which) {
    long number = std::stol(which);
    if (number >= 1 && number <= static_cast<long>(rows.size())) return rows[number - 1].cell;
    return Problem{"No row " + which + " on this screen; its rows are numbered 1 to " +
                   std::to_string(rows.size()) + "."};
}

Result<UITableViewCell*> rowByTitle(const std::vector<ScreenRow>& rows, const std::string& which) {
    std::string wanted = folded(which);
    std::vector<const ScreenRow*> exact, prefixed;
    for (const ScreenRow& row : rows) {
        std::string title = folded(row.title);
        if (title == wanted) exact.push_back(&row);
        if (!wanted.empty() && title.rfind(wanted, 0) == 0) prefixed.push_back(&row);
    }
    const auto& found = exact.empty() ? prefixed : exact;
    if (found.size() == 1) return found[0]->cell;
    if (found.empty())
        return Problem{"No row \"" + which + "\" on this screen; \"show\" lists the rows."};
    return Problem{"\"" + which + "\" could be " + quotedList(found) +
                   "; give more of the title, or the row's number."};
}

} // namespace

HostSession::HostSession(NSArray* feedObjects, const SessionCommandTable& commands,
                         std::ostream& out, const std::string& feedFile)
    : HostSession(feedObjects, commands, out, out, feedFile) {}

HostSession::HostSession(NSArray* feedObjects, const SessionCommandTable& commands,
                         std::ostream& out, std::ostream& errors, const std::string& feedFile)
    : _out(out), _errors(errors) {
    for (const SessionCommandEntry& command : commands)
        _commands.insert_or_assign(command.name, command);
    Ref<IGMainFeedViewController> feedScreen =
        IGMainFeedViewController::controllerWithObjects(feedObjects);
    if (!feedFile.empty()) feedScreen->dataSource()->setFeedPath(NSString::string(feedFile));
    _navigation = UINavigationController::navigationControllerWithRootViewController(feedScreen);
    transitionAppearance(nullptr, _navigation, false);
    UIApplication::sharedApplication()->setURLHandler([&out](NSURL* url) {
        out << "open URL: " << (url->absoluteString() ? url->absoluteString()->utf8() : "") << "\n";
        return true;
    });
    _saveFailureObserver = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSUserDefaultsSaveFailedNotification, nullptr, [this](NSNotification* note) {
            auto* reason = as<NSString>(
                note->userInfo() ? note->userInfo()->objectForKey("NSLocalizedDescription"_ns)
                                 : nullptr);
            _saveFailure = reason ? reason->utf8() : "the settings store could not write";
        });
}

HostSession::~HostSession() {
    UIApplication::sharedApplication()->setURLHandler({});
    NSNotificationCenter::defaultCenter()->removeObserver(_saveFailureObserver);
}

SessionArguments HostSession::split(const std::string& line, std::string* problem) {
    SessionArguments words;
    std::string word;
    bool quoted = false, started = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        char c = line[at];
        if (c == '\\' && at + 1 < line.size()) {
            char next = line[++at];
            word += next == 'n' ? '\n' : next == 't' ? '\t' : next;
            started = true;
        } else if (c == '\\') {
            if (problem) *problem = "A backslash ends the line; write \\\\ for a backslash.";
        } else if (c == '"') {
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
    if (quoted && problem) *problem = "A quote is not closed; close it, or write \\\" for a quote.";
    if (started) words.push_back(word);
    return words;
}

std::string HostSession::screenText() const {
    return ::screenText(_navigation, {.numberRows = true})->utf8();
}

void HostSession::show() {
    _out << "\n" << screenText() << "\n";
    if (_afterShow) _afterShow(*this);
}

Result<UITableViewCell*> HostSession::findRow(const std::string& which) const {
    std::vector<ScreenRow> rows = rowsOf(top());
    if (rows.empty()) return Problem{"This screen has no rows."};
    return isNumber(which) ? rowByNumber(rows, which) : rowByTitle(rows, which);
}

std::vector<std::string> HostSession::rowTitles() const {
    std::vector<std::string> titles;
    for (const ScreenRow& row : rowsOf(top()))
        if (!row.title.empty()) titles.push_back(row.title);
    return titles;
}

std::string HostSession::perform(const std::string& line) {
    std::string problem;
    SessionArguments words = split(line, &problem);
    if (!problem.empty()) return problem;
    if (words.empty() || words[0][0] == '#') return "";
    auto found = _commands.find(words[0]);
    if (found == _commands.end())
        return "Unknown command \"" + words[0] + "\"; \"help\" lists the commands.";
    const SessionCommandEntry& entry = found->second;
    std::size_t count = words.size() - 1;
    if (count < entry.minWords || count > entry.maxWords)
        return "Usage: " + entry.usage + (count > entry.maxWords ? " (too many words)" : "");
    if (words[0] == "quit") {
        _done = true;
        return "";
    }
    _saveFailure.clear();
    problem = entry.run ? entry.run(*this, {words.begin() + 1, words.end()}) : "";
    if (problem.empty() && entry.showsScreen) show();
    if (problem.empty() && !_saveFailure.empty())
        problem = "The setting could not be saved: " + _saveFailure;
    return problem;
}

bool HostSession::run(const std::string& line) {
    if (std::string problem = perform(line); !problem.empty())
        _errors << kHostErrorPrefix << problem << "\n";
    return !_done;
}

int HostSession::runScript(std::istream& in, const ScriptRun& how) {
    std::string line;
    int failures = 0;
    for (long number = how.firstLine; !_done && std::getline(in, line); ++number) {
        if (how.echo && line.starts_with("#"))
            _out << "\n" << line << "\n";
        else if (how.echo && !split(line).empty())
            _out << "> " << line << "\n";
        std::string problem = perform(line);
        if (problem.empty()) continue;
        _out.flush();
        _errors << kHostErrorPrefix << how.name << ":" << number << ": " << problem << "\n";
        ++failures;
        if (!how.keepGoing) break;
    }
    return failures;
}

std::vector<std::string> tourCommands(bool withLibrary) {
    if (!withLibrary)
        return {
            "# The host alone, without the library: its feed, sponsored items included.",
            "feed",
            "scroll down",
            "scroll down",
            "# Its account settings, with the host's own button at the right (no library "
            "button, no Velin Mode).",
            "settings",
            "# Back to the feed.",
            "feed",
        };
    return {
        "# The main feed (with the library: no sponsored items), one screen at a time.",
        "feed",
        "scroll down",
        "scroll to 1",
        "# The account settings, with the library's settings button at the right.",
        "settings",
        "# The library's screen: Velin Mode on, then a tap on a credits row.",
        "tap right",
        "flip \"Velin Mode\" on",
        "tap \"TorvenAskel\"",
        "back",
        "# The feed again, with Velin Mode on: nobody's name or place.",
        "feed",
        "# Pull to refresh: each post is given its owner and place again (with Velin Mode on, "
        "the library drops them).",
        "refresh",
        "# Velin Mode off again.",
        "settings",
        "tap right",
        "flip \"Velin Mode\" off",
        "# The feed: still nobody's name or place, since the posts were given theirs while "
        "Velin Mode was on and kept none.",
        "feed",
        "# Pull to refresh again: each post is given its owner and place anew and shows them.",
        "refresh",
    };
}
