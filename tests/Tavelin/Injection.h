// Loads the built Tavelin.dylib into the running test host through the
// loader, as the device does, and reads its exported slots.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <objc/runtime.h>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "host/Loader.h"
#include "tests/host/TestRoot.h"

class Injection {
  public:
    // Loads the library (register the scenario's classes first).
    Injection() {
        setDeviceRoot(root_.path());
        root_.inject("Tavelin.dylib", TAVELIN_DYLIB);
        std::ostringstream errors;
        std::vector<LoadedLibrary> loaded = loadInjectedLibraries(root_.path(), errors, true);
        errors_ = errors.str();
        handle_ = loaded.size() == 1 ? loaded.front().handle : nullptr;
    }

    const std::string& errors() const { return errors_; }
    bool loaded() const { return handle_ != nullptr; }

    void* symbol(const char* name) const {
        void* found = handle_ ? dlsym(handle_, name) : nullptr;
        EXPECT_NE(found, nullptr) << name << " is not exported";
        return found;
    }
    IMP slot(const char* name) const { return *static_cast<IMP*>(symbol(name)); }
    Class superclassSlot(const char* name) const { return *static_cast<Class*>(symbol(name)); }
    IMP implementation(const char* name) const { return reinterpret_cast<IMP>(symbol(name)); }

  private:
    TestRoot root_;
    std::string errors_;
    void* handle_ = nullptr;
};

inline void setVelinMode(bool on) {
    NSUserDefaults::standardUserDefaults()->setObject(NSNumber::numberWithBool(on),
                                                      "TVLSWitch1"_ns);
}

// The implementation of a method that the class itself defines, or nullptr.
inline IMP ownImplementation(Class cls, SEL selector) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    IMP found = nullptr;
    for (unsigned int i = 0; i < count; ++i)
        if (sel_isEqual(method_getName(methods[i]), selector))
            found = method_getImplementation(methods[i]);
    free(methods);
    return found;
}
