// A library's filter list: the property list <Name>.plist beside
// <Name>.dylib that says in which processes the loader loads the library.
//
//   { Filter = { Bundles = ("com.burbn.instagram"); Executables = ("Instagram");
//                Classes = ("IGPost"); CoreFoundationVersion = (1900, 2000);
//                Mode = "Any"; }; }
//
// Every kind of filter that is listed must match, or, with Mode "Any", one of
// them. A bundle matches when it is loaded in the process, an executable when
// it is the process's name, a class when the process has it. The version
// range holds a lowest CoreFoundation version and, optionally, the version
// from which on the library no longer loads.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Foundation/NSDictionary.h"
#include "Foundation/Result.h"

// What a filter list is tested against.
struct HostIdentity {
    std::vector<std::string> bundles; // the main bundle first
    std::string executable;
    double coreFoundationVersion = 0;
    std::function<bool(const std::string&)> hasClass;
};

// This process: the main bundle and the platform's frameworks, the process
// name, kCFCoreFoundationVersionNumber, and the runtime's classes.
HostIdentity currentHostIdentity();

struct VersionRange {
    double lowest;
    std::optional<double> end; // not included
};

struct FilterList {
    std::optional<std::vector<std::string>> bundles, executables, classes;
    std::optional<VersionRange> versions;
    bool any = false;                     // Mode "Any"
    std::vector<std::string> unknownKeys; // ignored, but worth a warning
};

// The filter list of a property list's root dictionary, or the problem with
// its shape for the user.
Result<FilterList> filterListFrom(const NSDictionary* root);
// The filter list of a file in any property-list format the platform reads;
// the problem when it cannot be read or has the wrong shape.
Result<FilterList> readFilterList(const std::string& path);

struct FilterDecision {
    bool load;
    std::string why; // the filters that matched (load) or did not (skip)
};
FilterDecision decide(const FilterList& filter, const HostIdentity& host);
