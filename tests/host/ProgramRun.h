// Runs the host program in a child process, its output kept in files.
#pragma once

#include <sstream>

#include "tests/host/TestRoot.h"

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

inline std::vector<std::string> linesStartingWith(const std::string& text,
                                                  const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(start)) lines.push_back(line);
    return lines;
}

// Runs tavelin-host with `arguments`, its output kept in files under `root`.
inline ProgramRun runHostProgram(const TestRoot& root, std::vector<std::string> arguments,
                                 const std::string& tmpdir = {}, const std::string& input = {}) {
    std::string out = root.path() + "/out.txt", err = root.path() + "/err.txt";
    arguments.insert(arguments.begin(), TAVELIN_HOST_PROGRAM);
    pid_t child = fork();
    if (child == 0) {
        freopen(out.c_str(), "w", stdout);
        freopen(err.c_str(), "w", stderr);
        if (!tmpdir.empty()) setenv("TMPDIR", tmpdir.c_str(), 1);
        if (!input.empty()) freopen(input.c_str(), "r", stdin);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
}

// Runs a session script with the host program on the root.
inline ProgramRun runSessionScript(const TestRoot& root, const std::string& script,
                                   std::vector<std::string> options = {}) {
    options.insert(options.end(),
                   {"--root", root.path(), "--script", root.write("script.txt", script)});
    return runHostProgram(root, options);
}
