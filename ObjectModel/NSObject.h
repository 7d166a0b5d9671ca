// The root of every object: a C++ struct whose instances are genuine objects
// of the GNU Objective-C runtime (isa first, then an atomic reference count).
#pragma once

#include <atomic>
#include <cstdint>
#include <objc/runtime.h>
#include <type_traits>

#include "ObjectModel/Declarations.h"
#include "ObjectModel/Ref.h"

struct ClassInfo {
    Class cls = Nil;
    std::atomic<long>* live = nullptr;
};

// Declares the runtime class of a C++ class. Its objcClassInfo() is defined in
// the class's unit with a ClassBuilder, which registers the class on first use
// with the messages that the class declares (ObjectModel/Declarations.h).
#define OBJC_CLASS(Type, Base)                                                                     \
  public:                                                                                          \
    using Self = Type;                                                                             \
    using Super = Base;                                                                            \
    static constexpr const char* className = #Type;                                                \
    static constexpr int objcFirstLine = __LINE__;                                                 \
    static const ClassInfo& objcClassInfo();                                                       \
    static Class objcClass() {                                                                     \
        return objcClassInfo().cls;                                                                \
    }

struct NSObject : objc_object {
    OBJC_CLASS(NSObject, void)

    OBJC_METHOD(NSObject*, init, "init")

    OBJC_METHOD(bool, isEqual, "isEqual:", NSObject*)
    OBJC_METHOD(unsigned long, hash, "hash")
    OBJC_METHOD(Class, objectClass, "class")
    OBJC_METHOD(bool, isKindOfClass, "isKindOfClass:", Class)
    OBJC_METHOD(bool, respondsToSelector, "respondsToSelector:", SEL)
    OBJC_METHOD(void, doesNotRecognize, "doesNotRecognize:", SEL)

    NSObject() : objc_object{Nil} {}
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    // Reference counting belongs to the object model, as the platform's
    // retain and release fast paths do for classes that don't override them.
    void retain() {
        if (refs_.load(std::memory_order_relaxed) >= 0)
            refs_.fetch_add(1, std::memory_order_relaxed);
    }
    void release();
    long retainCount() const { return refs_.load(std::memory_order_relaxed); }
    // An immortal object ignores retain and release (shared constants).
    void makeImmortal() { refs_.store(kImmortal, std::memory_order_relaxed); }

  private:
    static constexpr std::int32_t kImmortal = INT32_MIN / 2;
    std::atomic<std::int32_t> refs_{1};
};

static_assert(!std::is_polymorphic_v<NSObject>, "a vtable pointer would take isa's place");
static_assert(sizeof(NSObject) == 16, "isa then the reference count");

// Allocates an instance of `cls` (T's class or a subclass) by sending it
// +alloc: an instance of the receiving class with a count of 1, not yet
// initialised. Each C++ class answers +alloc with its own layout, so a class
// made at run time gets its nearest C++ ancestor's (ObjectModel/ClassBuilder.h).
template <class T> T* alloc(Class cls = T::objcClass()) {
    return static_cast<T*>(send<NSObject*>(cls, "alloc"_sel));
}

// Allocates an instance of `cls` and sends it the initialiser `init` (a
// wrapper of T or a base); nil from the initialiser releases the instance.
template <class T, class Init, class... A> Ref<T> make(Class cls, Init init, A&&... args) {
    T* object = alloc<T>(cls);
    auto* result = (object->*init)(std::forward<A>(args)...);
    if (!result) {
        object->release();
        return nullptr;
    }
    return Ref<T>::adopt(static_cast<T*>(result));
}
template <class T, class Init, class... A> Ref<T> make(Init init, A&&... args) {
    return make<T>(T::objcClass(), init, std::forward<A>(args)...);
}

// The object as a T when it is of that class or a subclass, else nullptr.
template <class T> T* as(objc_object* object) {
    auto* base = static_cast<NSObject*>(object);
    return base && base->isKindOfClass(T::objcClass()) ? static_cast<T*>(base) : nullptr;
}

// Live instances of a runtime class, counting subclasses apart.
long liveObjects(const char* className);
template <class T> long liveObjects() {
    return T::objcClassInfo().live->load();
}

// Reports a programming error and aborts the process.
[[noreturn]] void objcFatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// NSClassFromString's runtime half: the class of that name, or Nil.
Class classNamed(const char* name);
