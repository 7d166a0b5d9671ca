// A session with the host's screens, driven by commands: typed at a prompt,
// read from a script, or the built-in tour. Every command that changes the
// screen shows it afterwards as text. A command that fails says why, and the
// session goes on.
//
// Commands live in one registry of named commands, each a function; a new
// command is one addSessionCommand call (or one line of the built-in table).
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "Foundation/NSArray.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UITableViewCell.h"

class HostSession;

using SessionArguments = std::vector<std::string>;
// Answers an error message for the user, or an empty string on success.
using SessionCommand = std::function<std::string(HostSession&, const SessionArguments&)>;

struct SessionCommandEntry {
    std::string usage; // e.g. "flip \"TITLE\""
    std::string help;
    SessionCommand run;
    bool showsScreen = true; // the screen is shown again after the command
};

// Adds (or replaces) a command of every session.
void addSessionCommand(const std::string& name, SessionCommandEntry entry);

class HostSession {
  public:
    // The feed screen inside a navigation controller, shown at once.
    // `feedFile` is where "refresh" reads the feed again (empty: nowhere).
    HostSession(NSArray* feedObjects, std::ostream& out, const std::string& feedFile = {});
    ~HostSession();

    // Runs one command line; answers false after quit.
    bool run(const std::string& line);
    // Reads commands to the end of the input or quit. `prompt` is printed
    // before each line (interactive); `echo` repeats each command (scripts).
    void runAll(std::istream& in, bool prompt, bool echo);

    std::ostream& out() { return _out; }
    UINavigationController* navigation() const { return _navigation; }
    UIViewController* top() const { return _navigation->topViewController(); }
    // Prints the current screen.
    void show();
    // After this, show() also writes a numbered picture of the screen into
    // the folder (001-feed.png ...); empty: no pictures.
    void setSnapshotFolder(const std::string& folder) { _snapshotFolder = folder; }
    // The top screen's table row whose title is `title`, or nil.
    UITableViewCell* rowTitled(const std::string& title) const;

    // Splits a command line into words; "double quotes" keep spaces.
    static SessionArguments split(const std::string& line);

  private:
    std::ostream& _out;
    Ref<UINavigationController> _navigation;
    bool _done = false;
    std::string _snapshotFolder;
    int _snapshots = 0;
};

// The built-in tour, as session commands.
const std::vector<std::string>& tourCommands();
