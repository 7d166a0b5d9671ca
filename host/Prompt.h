// The interactive prompt: on a terminal, line editing through libedit
// (arrow keys, emacs bindings, ~/.editrc), a history kept across sessions in
// the user's data folder, and completion of commands and row titles with the
// tab key; elsewhere, plain lines.
#pragma once

#include <istream>
#include <string>

#include "host/HostSession.h"

// $XDG_DATA_HOME/tavelin/history, else ~/.local/share/tavelin/history;
// empty when neither is known.
std::string promptHistoryFile();

// What the tab key offers for the line before the cursor: the completed
// text for the word being typed (quoted when a title needs it), or several
// candidates. C++ helper, also for tests.
struct Completion {
    std::string typed;                   // the partial word as typed (with its quote)
    std::vector<std::string> candidates; // as they would be written on the line
};
Completion completeLine(const HostSession& session, const std::string& beforeCursor);

// Runs the session's commands at the prompt until quit or end of input.
void runPrompt(HostSession& session, std::istream& in);
