#include "ObjectModel/NSObject.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <objc/message.h>
#include <set>
#include <string>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Implementation.h"
#include "ObjectModel/Message.h"

namespace {

struct Registered {
    Class cls;
    Class superclass;
    std::size_t instanceSize;
    std::atomic<long>* live;
};

struct Registry {
    std::mutex mutex;
    std::map<std::string, Registered, std::less<>> classes;
    std::deque<std::atomic<long>> counters; // stable addresses
};

Registry& registry() {
    static Registry* instance = new Registry; // lives as long as the runtime's classes
    return *instance;
}

// Every message nobody implements ends here instead of in the runtime's
// forwarder: the receiver's doesNotRecognize: names class and selector.
id unrecognizedMessage(id self, SEL selector) {
    if (!self)
        objcFatal("message %s sent through a forwarding lookup without receiver",
                  sel_getName(selector));
    IMP report = class_getMethodImplementation(self->class_pointer, "doesNotRecognize:"_sel);
    fromIMP<void(id, SEL, SEL)>(report)(self, "doesNotRecognize:"_sel, selector);
    std::abort();
}

IMP forwardingImplementation(id, SEL) {
    return toIMP(&unrecognizedMessage);
}

// The runtime's instance size covers the C++ layout, so that ivars a subclass
// adds at run time come after it.
void reserveLayout(Class cls, std::size_t instanceSize) {
    std::size_t runtimeSize = class_getInstanceSize(cls);
    if (instanceSize <= runtimeSize) return;
    std::size_t extra = instanceSize - runtimeSize;
    char types[32], name[256];
    std::snprintf(types, sizeof types, "[%zuC]", extra);
    std::snprintf(name, sizeof name, "_cxxLayout%s", class_getName(cls));
    if (!class_addIvar(cls, name, extra, 0, types))
        objcFatal("cannot reserve the C++ layout of class %s", class_getName(cls));
}

// Set while this thread allocates and registers a class pair: the runtime
// looks the new name up then, which must not start registering it again.
thread_local bool allocatingClass = false;

void addMethods(Class cls, const std::vector<MethodEntry>& methods) {
    for (const MethodEntry& m : methods)
        if (!class_addMethod(cls, m.selector, m.implementation, m.types))
            objcFatal("class %s defines %s twice", class_getName(cls), sel_getName(m.selector));
}

} // namespace

ClassInfo registerClass(const char* name, Class superclass, std::size_t instanceSize,
                        const std::vector<MethodEntry>& methods,
                        const std::vector<MethodEntry>& classMethods) {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    if (auto found = reg.classes.find(name); found != reg.classes.end()) {
        const Registered& known = found->second;
        if (known.superclass != superclass || known.instanceSize != instanceSize)
            objcFatal("class %s is declared twice with different layouts or superclasses", name);
        return {known.cls, known.live};
    }
    if (!superclass) __objc_msg_forward2 = &forwardingImplementation;
    allocatingClass = true;
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (!cls)
        objcFatal("the runtime already has a class named %s that this process did not register",
                  name);
    reserveLayout(cls, instanceSize);
    addMethods(cls, methods);
    addMethods(object_getClass(reinterpret_cast<id>(cls)), classMethods);
    objc_registerClassPair(cls);
    allocatingClass = false;
    std::atomic<long>* live = &reg.counters.emplace_back(0);
    reg.classes.emplace(name, Registered{cls, superclass, instanceSize, live});
    return {cls, live};
}

long liveObjects(const char* className) {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto found = reg.classes.find(className);
    return found == reg.classes.end() ? 0 : found->second.live->load();
}

namespace {

struct KnownClasses {
    std::mutex mutex;
    std::map<std::string, const ClassInfo& (*)(), std::less<>> byName;
};

KnownClasses& knownClasses() {
    static KnownClasses* instance = new KnownClasses; // consulted as long as the runtime lives
    return *instance;
}

Class registerKnownClass(const char* name) {
    if (allocatingClass) return Nil;
    const ClassInfo& (*info)() = nullptr;
    {
        KnownClasses& known = knownClasses();
        std::lock_guard lock(known.mutex);
        if (auto found = known.byName.find(name); found != known.byName.end()) info = found->second;
    }
    return info ? info().cls : Nil;
}

} // namespace

bool knownClassOnLoad(const char* name, const ClassInfo& (*info)()) {
    KnownClasses& known = knownClasses();
    std::lock_guard lock(known.mutex);
    known.byName.try_emplace(name, info);
    objc_setGetUnknownClassHandler(&registerKnownClass);
    return true;
}

Class classNamed(const char* name) {
    return name ? objc_getClass(name) : Nil;
}

void objcFatal(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("objc: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::fflush(stderr);
    std::abort();
}

namespace {

// Encodings compare without the frame offsets some compilers add.
std::string withoutOffsets(const char* types) {
    std::string out;
    for (const char* c = types; *c; ++c)
        if (*c < '0' || *c > '9') out += *c;
    return out;
}

} // namespace

void checkMessageSignature(id receiver, Class lookupClass, SEL selector, const char* expected) {
    Method method = class_getInstanceMethod(lookupClass, selector);
    if (!method) return; // unrecognised: the receiver reports it when the message arrives
    const char* actual = method_getTypeEncoding(method);
    if (withoutOffsets(actual) != withoutOffsets(expected))
        objcFatal("-[%s %s] sent with signature \"%s\", but the method's type encoding is \"%s\"",
                  object_getClassName(receiver), sel_getName(selector), expected, actual);
}

void NSObject::release() {
    if (refs_.load(std::memory_order_relaxed) < 0) return;
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) send(this, "dealloc"_sel);
}

NSObject* NSObject::initImp() {
    return this;
}

bool NSObject::isEqualImp(NSObject* other) {
    return this == other;
}

unsigned long NSObject::hashImp() {
    return reinterpret_cast<std::uintptr_t>(this) >> 4;
}

Class NSObject::objectClassImp() {
    return class_pointer;
}

bool NSObject::isKindOfClassImp(Class cls) {
    if (!cls) return false;
    for (Class c = class_pointer; c; c = class_getSuperclass(c))
        if (c == cls) return true;
    return false;
}

bool NSObject::respondsToSelectorImp(SEL selector) {
    return selector && class_respondsToSelector(class_pointer, selector);
}

void NSObject::doesNotRecognizeImp(SEL selector) {
    objcFatal("-[%s %s]: unrecognized selector sent to instance %p", object_getClassName(this),
              sel_getName(selector), static_cast<void*>(this));
}

const ClassInfo& NSObject::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSObject>().build();
    return info;
}

namespace {

struct RetainedResults {
    std::mutex mutex;
    std::set<IMP> implementations;
};

RetainedResults& retainedResults() {
    static RetainedResults* const results = new RetainedResults;
    return *results;
}

} // namespace

void noteRetainedResult(IMP implementation) {
    RetainedResults& results = retainedResults();
    std::lock_guard lock(results.mutex);
    results.implementations.insert(implementation);
}

bool implementationRetainsResult(IMP implementation) {
    RetainedResults& results = retainedResults();
    std::lock_guard lock(results.mutex);
    return results.implementations.contains(implementation);
}
