// The platform's log: one line on stderr as the device's console shows it,
//
//   2024-05-01 12:34:56.789 Instagram[4242:4243] Loaded 3 posts
//
// the local time, the process name and identifier, the thread, the message.
// The format is printf's, with %@ for an object (its description, "(null)"
// for nil). A line feed ends the line unless the message has one.
#pragma once

#include <cstdarg>
#include <string>

struct NSString;

extern "C" {
void NSLog(NSString* format, ...);
void NSLogv(NSString* format, va_list arguments);
}

// The message of NSLogv, formatted (%@ included) but without the line's head.
std::string formatLogMessage(const char* format, va_list arguments);
