// The session's command registry, with the built-in commands (C++ only,
// shared by the session and its command units).
#pragma once

#include <map>
#include <string>

#include "host/HostSession.h"

std::map<std::string, SessionCommandEntry>& sessionRegistry();
