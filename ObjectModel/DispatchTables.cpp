// GNU's method_setImplementation and method_exchangeImplementations update the
// dispatch table of the class that defines the method, but not those of its
// subclasses: a subclass that has been sent the message keeps calling the old
// implementation. The device's runtime flushes every cache, so that a replaced
// method sees every caller; these definitions, which the process finds before
// libobjc's, do the same.
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

// Rebuilds the tables of the classes (or metaclasses) that define the method,
// and so of their subclasses.
void refreshDispatchTables(Method method) {
    std::vector<Class> classes(objc_getClassList(nullptr, 0));
    classes.resize(objc_getClassList(classes.data(), static_cast<int>(classes.size())));
    for (Class cls : classes)
        for (Class owner : {cls, object_getClass(reinterpret_cast<id>(cls))})
            if (defines(owner, method)) __objc_update_dispatch_table_for_class(owner);
}

} // namespace

extern "C" IMP method_setImplementation(Method method, IMP implementation) {
    static auto* setImplementation = runtimeFunction<IMP(Method, IMP)>("method_setImplementation");
    IMP previous = setImplementation(method, implementation);
    if (method) refreshDispatchTables(method);
    return previous;
}

extern "C" void method_exchangeImplementations(Method a, Method b) {
    static auto* exchange = runtimeFunction<void(Method, Method)>("method_exchangeImplementations");
    exchange(a, b);
    for (Method method : {a, b})
        if (method) refreshDispatchTables(method);
}
