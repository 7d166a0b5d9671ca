// Pictures of the session's screens: the "snapshot FILE.png" command, and the
// names of a folder of numbered pictures (001-feed.png, 002-account-settings.png).
#pragma once

#include <string>

#include "UIKit/UIViewController.h"
#include "host/HostSession.h"

// The name of what the controller shows: "feed" and "account-settings" for
// the host's screens, otherwise its title in lower case with dashes
// ("tavelin"), or its class name when it has no title.
std::string screenName(UIViewController* controller);
// "007-feed.png" for the 7th picture of the feed.
std::string snapshotFileName(int number, UIViewController* controller);
// After this, every screen the session shows is also written into the folder
// as a numbered picture (001-feed.png ...); a problem goes to its errors.
void snapshotEveryScreen(HostSession& session, const std::string& folder);

// "snapshot FILE.png".
SessionCommandTable snapshotCommands();
