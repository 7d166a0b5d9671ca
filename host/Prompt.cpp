#include "host/Prompt.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <glib.h>
#include <histedit.h>
#include <iostream>
#include <unistd.h>

#include "host/HostProgram.h"

namespace {

constexpr const char* kPrompt = "tavelin> ";

struct Word {
    std::size_t start = 0; // where the word being typed starts
    bool first = true;     // it is the command's name
};

// The word the cursor ends, with quotes and backslashes as split() reads them.
Word currentWord(const std::string& line) {
    Word word;
    bool quoted = false, inWord = false, sawWord = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        char c = line[at];
        if (!inWord && c != ' ' && c != '\t') {
            word = {at, !sawWord};
            inWord = sawWord = true;
        }
        if (c == '\\')
            ++at;
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ' ' || c == '\t'))
            inWord = false;
    }
    if (!inWord) word = {line.size(), !sawWord};
    return word;
}

std::string folded(const std::string& text) {
    gchar* fold = g_utf8_casefold(text.c_str(), static_cast<gssize>(text.size()));
    std::string out(fold ? fold : "");
    g_free(fold);
    return out;
}

// The word as split() reads it: no quotes, escapes resolved; an open quote
// counts as closed.
std::string unquoted(const std::string& typed) {
    std::string problem;
    std::vector<std::string> words = HostSession::split(typed, &problem);
    if (!problem.empty()) words = HostSession::split(typed + "\"");
    return words.empty() ? "" : words[0];
}

// A title as a word: quoted when it holds a space, quotes and backslashes escaped.
std::string written(const std::string& title) {
    std::string escaped;
    bool quote = false;
    for (char c : title) {
        if (c == '"' || c == '\\') escaped += '\\';
        quote = quote || c == ' ' || c == '\t';
        escaped += c;
    }
    return quote ? "\"" + escaped + "\"" : escaped;
}

std::string commonPrefix(const std::vector<std::string>& words) {
    std::string prefix = words.empty() ? "" : words[0];
    for (const std::string& word : words)
        while (!word.starts_with(prefix))
            prefix.pop_back();
    return prefix;
}

std::size_t characters(const std::string& text) {
    return static_cast<std::size_t>(g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())));
}

unsigned char completeAtCursor(EditLine* editor, int) {
    HostSession* session = nullptr;
    el_get(editor, EL_CLIENTDATA, &session);
    const LineInfo* line = el_line(editor);
    Completion offered = completeLine(
        *session, std::string(line->buffer, static_cast<std::size_t>(line->cursor - line->buffer)));
    if (offered.candidates.empty()) return CC_REFRESH_BEEP;
    std::string insert = offered.candidates.size() == 1 ? offered.candidates[0] + " "
                                                        : commonPrefix(offered.candidates);
    if (insert.size() > offered.typed.size() || offered.candidates.size() == 1) {
        el_deletestr(editor, static_cast<int>(characters(offered.typed)));
        el_insertstr(editor, insert.c_str());
        return CC_REFRESH;
    }
    std::string list = "\n";
    for (const std::string& candidate : offered.candidates)
        list += candidate + "  ";
    std::fprintf(stdout, "%s\n", list.c_str());
    return CC_REDISPLAY;
}

char* promptText(EditLine*) {
    return const_cast<char*>(kPrompt);
}

class LineEditor {
  public:
    explicit LineEditor(HostSession& session) : _history(history_init()) {
        _editor = el_init("tavelin-host", stdin, stdout, stderr);
        HistEvent event;
        history(_history, &event, H_SETSIZE, 1000);
        history(_history, &event, H_SETUNIQUE, 1);
        el_set(_editor, EL_CLIENTDATA, &session);
        el_set(_editor, EL_PROMPT, promptText);
        el_set(_editor, EL_EDITOR, "emacs");
        el_set(_editor, EL_SIGNAL, 1);
        el_set(_editor, EL_HIST, history, _history);
        el_set(_editor, EL_ADDFN, "tavelin-complete", "complete a command or row title",
               completeAtCursor);
        el_set(_editor, EL_BIND, "^I", "tavelin-complete", nullptr);
        el_source(_editor, nullptr);
        if (!_file.empty()) history(_history, &event, H_LOAD, _file.c_str());
    }
    ~LineEditor() {
        HistEvent event;
        if (!_file.empty()) {
            std::error_code ignored;
            std::filesystem::create_directories(std::filesystem::path(_file).parent_path(),
                                                ignored);
            history(_history, &event, H_SAVE, _file.c_str());
        }
        el_end(_editor);
        history_end(_history);
    }
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    // The next line without its newline; false at the end of input.
    bool next(std::string& line) {
        int count = 0;
        const char* text = el_gets(_editor, &count);
        if (!text) return false;
        line.assign(text, static_cast<std::size_t>(count));
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        HistEvent event;
        if (!HostSession::split(line).empty()) history(_history, &event, H_ENTER, line.c_str());
        return true;
    }

  private:
    EditLine* _editor;
    History* _history;
    std::string _file = promptHistoryFile();
};

constexpr std::size_t kMaxLineBytes = 1 << 20;

// The next line of at most kMaxLineBytes; false at the end of input or past the bound.
bool boundedLine(HostSession& session, std::istream& in, std::string& line) {
    line.clear();
    for (int c = in.get(); c != EOF; c = in.get()) {
        if (c == '\n') return true;
        if (line.size() == kMaxLineBytes) {
            session.errors() << kHostErrorPrefix
                             << "a line is longer than 1 MiB; the session ends\n";
            return false;
        }
        line += static_cast<char>(c);
    }
    return !line.empty();
}

void runLines(HostSession& session, auto next) {
    std::string line;
    while (!session.done()) {
        if (!next(line)) {
            session.out() << "\n";
            return;
        }
        session.run(line);
        session.out().flush();
    }
}

std::vector<std::string> commandNames(const HostSession& session) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : session.commands())
        names.push_back(name);
    return names;
}

} // namespace

std::string promptHistoryFile() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && *data == '/') return std::string(data) + "/tavelin/history";
    if (home && *home == '/') return std::string(home) + "/.local/share/tavelin/history";
    return "";
}

Completion completeLine(const HostSession& session, const std::string& beforeCursor) {
    Word word = currentWord(beforeCursor);
    Completion offered{beforeCursor.substr(word.start), {}};
    std::string wanted = folded(unquoted(offered.typed));
    std::vector<std::string> names = word.first ? commandNames(session) : session.rowTitles();
    for (const std::string& name : names)
        if (folded(name).starts_with(wanted))
            offered.candidates.push_back(word.first ? name : written(name));
    return offered;
}

void runPrompt(HostSession& session, std::istream& in) {
    if (&in == &std::cin && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
        LineEditor editor(session);
        runLines(session, [&](std::string& line) { return editor.next(line); });
        return;
    }
    runLines(session, [&](std::string& line) {
        session.out() << kPrompt << std::flush;
        return boundedLine(session, in, line);
    });
}
