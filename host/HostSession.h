// A session with the host's screens, driven by commands: typed at a prompt,
// read from a script, or the built-in tour. Every command that changes the
// screen shows it afterwards as text. A command that fails says why on the
// session's error stream; a script stops there (or goes on when asked) and
// reports the failure in its result.
//
// The session runs the commands of the table it is given, each a named
// function; the host program assembles the table from its command parts.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/Result.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UITableViewCell.h"

class HostSession;

using SessionArguments = std::vector<std::string>;
// Answers an error message for the user, or an empty string on success.
using SessionCommand = std::function<std::string(HostSession&, const SessionArguments&)>;

struct SessionCommandEntry {
    std::string name;  // the word that runs it: "flip"
    std::string usage; // e.g. "flip \"TITLE\""
    std::string help;
    SessionCommand run;
    bool showsScreen = true; // the screen is shown again after the command
    // How many words the command takes after its name; others are refused.
    std::size_t minWords = 0;
    std::size_t maxWords = std::numeric_limits<std::size_t>::max();
};

// A session's commands; of two with one name the later wins.
using SessionCommandTable = std::vector<SessionCommandEntry>;

// Where a script comes from and how it runs.
struct ScriptRun {
    std::string name;       // names the script in errors: "tour", "s.txt"
    bool echo = true;       // repeats each command ("> feed") and comment
    bool keepGoing = false; // runs on after a failed command
    long firstLine = 1;     // the number of the first line read, for errors
};

class HostSession {
  public:
    // The feed screen inside a navigation controller, shown at once, with
    // the commands of `commands`. `feedFile` is where "refresh" reads the
    // feed again (empty: nowhere). Problems go to `errors` (by default `out`).
    HostSession(NSArray* feedObjects, const SessionCommandTable& commands, std::ostream& out,
                const std::string& feedFile = {});
    HostSession(NSArray* feedObjects, const SessionCommandTable& commands, std::ostream& out,
                std::ostream& errors, const std::string& feedFile);
    ~HostSession();

    // Runs one command line; answers the problem for the user, or an empty
    // string (blank lines and comments do nothing).
    std::string perform(const std::string& line);
    // Runs one command line and reports a problem on errors(); answers
    // false after quit.
    bool run(const std::string& line);
    // Runs the lines of a script; answers how many commands failed.
    int runScript(std::istream& in, const ScriptRun& how);
    bool done() const { return _done; }

    // The session's commands by name, in name order.
    const std::map<std::string, SessionCommandEntry>& commands() const { return _commands; }
    std::ostream& out() { return _out; }
    std::ostream& errors() { return _errors; }
    UINavigationController* navigation() const { return _navigation; }
    // The controller on screen.
    UIViewController* top() const { return shownController(_navigation).controller; }
    // The current screen as text, its table rows numbered from 1.
    std::string screenText() const;
    // Prints the current screen, then runs what setAfterShow gave.
    void show();
    void setAfterShow(std::function<void(HostSession&)> then) { _afterShow = std::move(then); }

    // The top screen's row that `which` names: its number as the screen
    // shows it, or its title (any case, or the start of just one title);
    // the reason when there is none.
    Result<UITableViewCell*> findRow(const std::string& which) const;
    // The titles of the top screen's rows.
    std::vector<std::string> rowTitles() const;

    // Splits a command line into words: "double quotes" keep spaces, a
    // backslash takes the next character as it is (\n and \t: newline, tab).
    // An open quote or a lone backslash at the end sets `problem`.
    static SessionArguments split(const std::string& line, std::string* problem = nullptr);

  private:
    std::map<std::string, SessionCommandEntry> _commands;
    std::ostream& _out;
    std::ostream& _errors;
    Ref<UINavigationController> _navigation;
    bool _done = false;
    // Why the settings store could not save during the current command.
    std::string _saveFailure;
    Ref<NSObject> _saveFailureObserver;
    std::function<void(HostSession&)> _afterShow;
};

// The built-in tour, as session commands; `withLibrary` false says that the
// host runs alone.
std::vector<std::string> tourCommands(bool withLibrary = true);
