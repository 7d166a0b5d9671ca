// A device root with the library and its images, the host's classes, and -
// unless left out - the library loaded into this process through the loader.
// For test programs built with tavelin_injecting_test.
#pragma once

#include <sstream>

#include "TestRoot.h"
#include "host/HostClasses.h"

// A library for the loader's folder, with a filter list that names the host.
struct InjectedLibrary {
    std::string name;
    std::string path;
};

struct InjectedHost {
    explicit InjectedHost(bool inject = true, const std::vector<InjectedLibrary>& others = {}) {
        for (const InjectedLibrary& library : others)
            root.inject(library.name + ".dylib", library.path);
        if (inject) {
            root.inject("Tavelin.dylib", TAVELIN_DYLIB);
            root.stageBundle();
        }
        setDeviceRoot(root.path());
        registerHostClasses();
        std::ostringstream errors;
        if (inject) loadInjectedLibraries(root.path(), errors, true);
        EXPECT_EQ(errors.str(), "");
    }
    TestRoot root;
};
