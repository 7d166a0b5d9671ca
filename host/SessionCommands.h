// The session's built-in commands: moving between the host's screens, using
// their rows and controls, checking the screen's text.
#pragma once

#include "host/HostSession.h"

SessionCommandTable builtInCommands();
