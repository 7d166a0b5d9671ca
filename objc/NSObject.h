// The root of every object: a C++ struct whose instances are genuine objects
// of the GNU Objective-C runtime (isa first, then an atomic reference count).
#pragma once

#include <atomic>
#include <cstdint>
#include <objc/runtime.h>
#include <type_traits>

#include "objc/Ref.h"

struct ClassInfo {
    Class cls = Nil;
    std::atomic<long>* live = nullptr;
};

// Declares the runtime class of a C++ class. Its objcClassInfo() is defined in
// the class's unit with a ClassBuilder, which registers the class on first use.
#define OBJC_CLASS(Type, Base)                                                                     \
  public:                                                                                          \
    using Self = Type;                                                                             \
    using Super = Base;                                                                            \
    static constexpr const char* className = #Type;                                                \
    static const ClassInfo& objcClassInfo();                                                       \
    static Class objcClass() {                                                                     \
        return objcClassInfo().cls;                                                                \
    }

struct NSObject : objc_object {
    OBJC_CLASS(NSObject, void)

    NSObject() : objc_object{Nil} {}
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    void retain() {
        if (refs_.load(std::memory_order_relaxed) >= 0)
            refs_.fetch_add(1, std::memory_order_relaxed);
    }
    void release();
    long retainCount() const { return refs_.load(std::memory_order_relaxed); }
    // An immortal object ignores retain and release (shared constants).
    void makeImmortal() { refs_.store(kImmortal, std::memory_order_relaxed); }

    bool isKindOfClass(Class cls) const;
    bool respondsToSelector(SEL selector) const;

    // Messages every object answers.
    bool isEqual(NSObject* other);
    unsigned long hash();
    void doesNotRecognize(SEL selector);

  private:
    static constexpr std::int32_t kImmortal = INT32_MIN / 2;
    std::atomic<std::int32_t> refs_{1};
};

static_assert(!std::is_polymorphic_v<NSObject>, "a vtable pointer would take isa's place");
static_assert(sizeof(NSObject) == 16, "isa then the reference count");

using id = objc_object*;

// Allocates an instance of T's runtime class with a count of 1.
template <class T> T* alloc() {
    static_assert(std::is_same_v<typename T::Self, T>, "every class declares OBJC_CLASS");
    static_assert(!std::is_polymorphic_v<T>, "no virtual functions in runtime classes");
    const ClassInfo& info = T::objcClassInfo();
    T* object = new T();
    object->class_pointer = info.cls;
    info.live->fetch_add(1, std::memory_order_relaxed);
    return object;
}

// Runs an instance initialiser on a fresh instance; nil from the initialiser
// releases the instance. `init` is a member function pointer of T (or a base).
template <class T, class Init, class... A> Ref<T> make(Init init, A&&... args) {
    T* object = alloc<T>();
    auto* result = (object->*init)(std::forward<A>(args)...);
    if (!result) {
        object->release();
        return nullptr;
    }
    return Ref<T>::adopt(static_cast<T*>(result));
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
