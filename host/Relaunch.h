// Relaunching the host within one session, as the device's build tools kill
// and start the app again after an install. The host program runs each host
// process as a child of its own; every child reads the session's commands in
// turn from one input, a byte at a time, so that a new process goes on
// exactly after the "relaunch" that ended the one before.
#pragma once

#include <ostream>

#include "host/HostProgram.h"
#include "host/HostSession.h"

// How a host process tells the host program to start a new one (the second:
// after a command of its script failed, with --keep-going).
inline constexpr int kRelaunchExitStatus = 75;
inline constexpr int kRelaunchAfterFailureExitStatus = 76;

// Runs the session's host processes one after another, on one --fresh copy
// of the root; answers the exit code of the last, or 1 when a command failed
// in an earlier one. The commands come from the prompt, the script or the tour.
int runHostProcesses(HostOptions options, std::ostream& out, std::ostream& errors);

// Runs the session of a host process started by runHostProcesses; answers
// its exit code (kRelaunchExitStatus when the session asked for a relaunch).
int runLaunchedSession(HostSession& session, const HostOptions& options);

// "relaunch": when the host can start again, it ends this host process and
// the host program starts a new one.
SessionCommandTable relaunchCommands(const HostOptions& options);
