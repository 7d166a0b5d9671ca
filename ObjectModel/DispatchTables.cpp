// GNU's method_setImplementation and method_exchangeImplementations update the
// dispatch table of the class that defines the method, but not those of its
// subclasses: a subclass that has been sent the message keeps calling the old
// implementation. The device's runtime flushes every cache, so that a replaced
// method sees every caller; these definitions, which the process finds before
// libobjc's, do the same.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <objc/runtime.h>
#include <vector>

#include "ObjectModel/NSObject.h"

extern "C" void __objc_update_dispatch_table_for_class(Class cls);

namespace {

template <class Function> Function* runtimeFunction(const char* name) {
    auto* found = reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
    if (!found) objcFatal("the runtime has no %s", name);
    return found;
}

bool defines(Class cls, Method method) {
    unsigned int count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = methods[i] == method;
    free(methods);
    return found;
}

// The classes and metaclasses that define one of the methods, each with its
// dispatch table installed first: a table still to be installed would not be
// rebuilt, and the runtime would fill it from a stale copy.
std::vector<Class> owners(std::initializer_list<Method> methods) {
    std::vector<Class> classes(objc_getClassList(nullptr, 0));
    classes.resize(objc_getClassList(classes.data(), static_cast<int>(classes.size())));
    std::vector<Class> found;
    for (Class cls : classes)
        for (Class owner : {cls, object_getClass(reinterpret_cast<id>(cls))})
            for (Method method : methods)
                if (method && defines(owner, method)) {
                    class_respondsToSelector(owner, method_getName(method));
                    found.push_back(owner);
                }
    return found;
}

// Rebuilds the tables of the owners, and so of their subclasses.
void refreshDispatchTables(const std::vector<Class>& owners) {
    for (Class owner : owners)
        __objc_update_dispatch_table_for_class(owner);
}

} // namespace

extern "C" IMP method_setImplementation(Method method, IMP implementation) {
    static auto* setImplementation = runtimeFunction<IMP(Method, IMP)>("method_setImplementation");
    std::vector<Class> changed = owners({method});
    IMP previous = setImplementation(method, implementation);
    refreshDispatchTables(changed);
    return previous;
}

extern "C" void method_exchangeImplementations(Method a, Method b) {
    static auto* exchange = runtimeFunction<void(Method, Method)>("method_exchangeImplementations");
    std::vector<Class> changed = owners({a, b});
    exchange(a, b);
    refreshDispatchTables(changed);
}
