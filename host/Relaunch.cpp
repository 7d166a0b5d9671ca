#include "host/Relaunch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/Prompt.h"

namespace {

bool relaunchAsked = false;

// Unbuffered input from a file descriptor: what one process does not read is
// left for the next.
class DescriptorInput : public std::streambuf {
  public:
    explicit DescriptorInput(int descriptor) : _descriptor(descriptor) {}

  protected:
    int_type underflow() override {
        for (;;) {
            ssize_t n = ::read(_descriptor, &_byte, 1);
            if (n == 1) {
                setg(&_byte, &_byte, &_byte + 1);
                return traits_type::to_int_type(_byte);
            }
            if (n < 0 && errno == EINTR) continue;
            return traits_type::eof();
        }
    }

  private:
    int _descriptor;
    char _byte = 0;
};

// A file in memory that holds the text, read from its start.
int memoryInput(const std::string& text, std::ostream& errors) {
    int file = memfd_create("tavelin-session", 0);
    if (file < 0 || ::write(file, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        lseek(file, 0, SEEK_SET) != 0) {
        errors << kHostErrorPrefix << "cannot hold the session's commands: " << std::strerror(errno)
               << "\n";
        return -1;
    }
    return file;
}

// The descriptor the session's commands come from, or -1 (said on `errors`):
// standard input at a prompt, else the tour or the script, read once.
int sessionInput(const HostOptions& options, std::ostream& errors) {
    if (options.mode == HostMode::Interactive) return STDIN_FILENO;
    Result<std::string> text = std::string();
    if (options.mode == HostMode::Tour)
        for (const std::string& line : tourCommands(options.inject))
            *text += line + "\n";
    else
        text = readSessionScript(options);
    if (!text) {
        errors << kHostErrorPrefix << text.problem() << "\n";
        return -1;
    }
    return memoryInput(*text, errors);
}

// The number of the line that the reader of a tour or script has come to.
long lineAt(int descriptor) {
    off_t done = lseek(descriptor, 0, SEEK_CUR);
    std::string before(done > 0 ? done : 0, '\0');
    before.resize(std::max<ssize_t>(0, pread(descriptor, before.data(), before.size(), 0)));
    return 1 + std::count(before.begin(), before.end(), '\n');
}

// The exit code of the child, or -1 after a signal (said on `errors`).
int waitFor(pid_t child, std::ostream& errors) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    errors << kHostErrorPrefix << "the host process " << child << " ended by signal "
           << WTERMSIG(status) << " (" << strsignal(WTERMSIG(status)) << ")\n";
    return -1;
}

std::string relaunch(HostSession& session, const HostOptions& options) {
    if (options.commands < 0)
        return "This session runs inside another program, which cannot start the host again.";
    if (Result<void> start = hostCanStart(options); !start)
        return "Cannot relaunch: " + start.problem() + ". This host process goes on.";
    session.out() << "Relaunching: host process " << getpid()
                  << " ends, a new one starts with the same options.\n";
    relaunchAsked = true;
    session.perform("quit"); // ends the session after this command
    return "";
}

int runPromptSession(HostSession& session, const HostOptions& options, std::istream& commands) {
    if (!options.relaunched) {
        session.out() << kSessionGreeting;
        session.show();
    }
    bool terminal = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    runPrompt(session, terminal ? std::cin : commands);
    return relaunchAsked ? kRelaunchExitStatus : 0;
}

int runScriptSession(HostSession& session, const HostOptions& options, std::istream& commands) {
    ScriptRun how{.name =
                      options.mode == HostMode::Tour ? "tour" : sessionScriptName(options.script),
                  .keepGoing = options.keepGoing,
                  .firstLine = lineAt(options.commands)};
    int failures = session.runScript(commands, how);
    if (relaunchAsked) return failures ? kRelaunchAfterFailureExitStatus : kRelaunchExitStatus;
    return failures ? 1 : 0;
}

bool asksForRelaunch(int code) {
    return code == kRelaunchExitStatus || code == kRelaunchAfterFailureExitStatus;
}

} // namespace

int runHostProcesses(HostOptions options, std::ostream& out, std::ostream& errors) {
    FreshRoot fresh; // one copy for every host process of the session
    if (options.fresh && std::filesystem::is_directory(options.root)) {
        Result<std::string> copy = fresh.copy(options.root);
        if (!copy) {
            errors << kHostErrorPrefix << copy.problem() << "\n";
            return 1;
        }
        options.root = *copy;
        options.fresh = false;
    }
    options.commands = sessionInput(options, errors);
    if (options.commands < 0) return 1;
    for (bool failed = false;; options.relaunched = true) {
        out.flush();
        errors.flush();
        pid_t child = fork();
        if (child < 0) {
            errors << kHostErrorPrefix << "cannot start the host process: " << std::strerror(errno)
                   << "\n";
            return 1;
        }
        if (child == 0) {
            int code = runHost(options, out, errors);
            out.flush();
            errors.flush();
            std::exit(code);
        }
        int code = waitFor(child, errors);
        failed = failed || code == kRelaunchAfterFailureExitStatus;
        if (!asksForRelaunch(code)) return code < 0 || (failed && code == 0) ? 1 : code;
    }
}

int runLaunchedSession(HostSession& session, const HostOptions& options) {
    if (options.relaunched) {
        session.out() << "The host started again: process " << getpid() << ".\n";
        session.show();
    }
    DescriptorInput buffer(options.commands);
    std::istream commands(&buffer);
    if (options.mode == HostMode::Interactive) return runPromptSession(session, options, commands);
    return runScriptSession(session, options, commands);
}

SessionCommandTable relaunchCommands(const HostOptions& options) {
    return {{"relaunch", "relaunch", "end the host process and start the host again",
             [options](HostSession& session, const SessionArguments&) {
                 return relaunch(session, options);
             },
             false, 0, 0}};
}
