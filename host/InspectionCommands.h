// The session's look into the runtime, as a developer looks into a process
// on the device: "classes [PATTERN]" lists runtime classes, "methods CLASS"
// a class's instance and class methods with their type encodings and the
// file that each implementation lives in, "hooks" every method whose
// implementation lives in an injected library.
#pragma once

#include <objc/runtime.h>
#include <string>

#include "host/HostSession.h"

// The shared object that holds an implementation: a device path for a file
// under the device root, else the file's name ("libFoundation.so"); what
// dladdr cannot place is "?".
std::string implementationFile(IMP implementation);
// Whether the implementation lives in a library that the loader injected.
bool isInjected(IMP implementation);

// "classes", "methods" and "hooks".
SessionCommandTable inspectionCommands();
