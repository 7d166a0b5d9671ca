// The session's "defaults" command, spelled as the device's defaults tool:
//
//   defaults read [DOMAIN [KEY]]
//   defaults write DOMAIN KEY [-bool | -int | -float | -string] VALUE
//   defaults delete DOMAIN [KEY]
//
// The host's domain (its bundle identifier) goes through the standard
// defaults store, so the running host sees every change at once; the other
// domains are the property-list files of the device root's preferences
// folder. A value without a type is a string.
#pragma once

#include <string>

#include "Foundation/Result.h"
#include "ObjectModel/NSObject.h"
#include "host/HostSession.h"

// The value of `text` as the type that the defaults tool names ("-bool" ...),
// or the problem for the user when it does not parse as that type.
Result<Ref<NSObject>> defaultsValue(const std::string& type, const std::string& text);
// A property-list value as the defaults tool prints it (old-style text).
std::string defaultsText(objc_object* value, const std::string& indent = "");

// "defaults".
SessionCommandTable defaultsCommands();
