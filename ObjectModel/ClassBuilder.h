// Registers the runtime class of a C++ class, once, with the messages its
// header declares (ObjectModel/Declarations.h). In the class's unit:
//
//   OBJC_IMPLEMENT_CLASS(IGPost)           // registered on first use
//   OBJC_IMPLEMENT_LOADED_CLASS(UIView)    // also known by name from load
//
// Each message runs through a generated plain implementation R (id, SEL, A...)
// whose type encoding comes from the same signature. Each class also gets a
// generated +alloc that makes its C++ layout, and a dealloc that runs the
// destructor of the most-derived C++ class.
#pragma once

#include <cstring>
#include <new>
#include <objc/runtime.h>
#include <utility>
#include <vector>

#include "ObjectModel/Encoding.h"
#include "ObjectModel/FixedString.h"
#include "ObjectModel/Implementation.h"
#include "ObjectModel/NSObject.h"
#include "ObjectModel/Selector.h"

// Whether an implementation answers an object its caller owns (a Ref<T>
// result): the encoding "@" does not tell, and key-value coding must know.
void noteRetainedResult(IMP implementation);
bool implementationRetainsResult(IMP implementation);

template <class R> IMP notedIMP(IMP implementation) {
    if constexpr (IsRef<R>::value) noteRetainedResult(implementation);
    return implementation;
}

template <auto Member> struct Trampoline;

template <class C, class R, class... A, R (C::*M)(A...)> struct Trampoline<M> {
    static ImpResultT<R> call(id self, SEL, A... args) {
        if constexpr (std::is_void_v<R>)
            (static_cast<C*>(self)->*M)(std::forward<A>(args)...);
        else
            return toImpResult((static_cast<C*>(self)->*M)(std::forward<A>(args)...));
    }
    static constexpr const char* types = encoding<R, A...>();
    static IMP imp() { return notedIMP<R>(toIMP(&call)); }
};

template <class C, class R, class... A, R (C::*M)(A...) const> struct Trampoline<M> {
    static ImpResultT<R> call(id self, SEL, A... args) {
        if constexpr (std::is_void_v<R>)
            (static_cast<const C*>(self)->*M)(std::forward<A>(args)...);
        else
            return toImpResult((static_cast<const C*>(self)->*M)(std::forward<A>(args)...));
    }
    static constexpr const char* types = encoding<R, A...>();
    static IMP imp() { return notedIMP<R>(toIMP(&call)); }
};

// A class method's implementation, called with the receiving class.
template <auto Function> struct ClassTrampoline;

template <class R, class... A, R (*F)(Class, A...)> struct ClassTrampoline<F> {
    static ImpResultT<R> call(id self, SEL, A... args) {
        if constexpr (std::is_void_v<R>)
            F(reinterpret_cast<Class>(self), std::forward<A>(args)...);
        else
            return toImpResult(F(reinterpret_cast<Class>(self), std::forward<A>(args)...));
    }
    static constexpr const char* types = encoding<R, A...>();
    static IMP imp() { return notedIMP<R>(toIMP(&call)); }
};

// Generated property accessors over a member.
template <class T, auto Field> struct Accessor;

template <class T, class C, class V, V C::*F> struct Accessor<T, F> {
    static ImpResultT<T> get(id self, SEL) { return toImpResult(T(static_cast<C*>(self)->*F)); }
    static void set(id self, SEL, T value) { static_cast<C*>(self)->*F = std::move(value); }
};

struct MethodEntry {
    SEL selector;
    IMP implementation;
    const char* types;
};

// What a class declares: its instance and class methods.
template <class T> struct Registration {
    std::vector<MethodEntry> instanceMethods;
    std::vector<MethodEntry> classMethods;

    template <FixedString Name, auto Member> void method() {
        using Imp = Trampoline<Member>;
        instanceMethods.push_back({selector<Name>(), Imp::imp(), Imp::types});
    }
    template <FixedString Name, auto Function> void classMethod() {
        using Imp = ClassTrampoline<Function>;
        classMethods.push_back({selector<Name>(), Imp::imp(), Imp::types});
    }
    template <FixedString Name, class V, auto Field> void addGetter() {
        instanceMethods.push_back(
            {selector<Name>(), notedIMP<V>(toIMP(&Accessor<V, Field>::get)), encoding<V>()});
    }
    template <FixedString Name, class V, auto Field> void addSetter() {
        static_assert(!IsRef<V>::value, "a setter takes a borrowed pointer: declare the property "
                                        "as T* and store a Ref<T>");
        instanceMethods.push_back(
            {selector<Name>(), toIMP(&Accessor<V, Field>::set), encoding<void, V>()});
    }
};

// Registers a class of that name under `superclass`, or answers the one this
// process registered before (another shared object may have asked first). Two
// different C++ layouts under one name are an error.
ClassInfo registerClass(const char* name, Class superclass, std::size_t instanceSize,
                        const std::vector<MethodEntry>& methods,
                        const std::vector<MethodEntry>& classMethods);

template <class T> class ClassBuilder {
  public:
    ClassBuilder() {
        add(selector<"dealloc">(), toIMP(&destroy), encoding<void>());
        reg_.classMethods.push_back({selector<"alloc">(), toIMP(&allocate), encoding<NSObject*>()});
        collect(std::make_integer_sequence<int, kMemberWindow>{});
    }

    // An implementation outside the declared messages: a member function
    // R (T::*)(A...), or a plain implementation R (id, SEL, A...).
    template <FixedString Name, auto Member> ClassBuilder& method() {
        reg_.template method<Name, Member>();
        return *this;
    }
    template <FixedString Name, class R, class... A>
    ClassBuilder& function(R (*implementation)(id, SEL, A...)) {
        return add(selector<Name>(), toIMP(implementation), encoding<R, A...>());
    }

    ClassInfo build() const {
        Class superclass = Nil;
        if constexpr (!std::is_void_v<typename T::Super>) superclass = T::Super::objcClass();
        return registerClass(T::className, superclass, sizeof(T), reg_.instanceMethods,
                             reg_.classMethods);
    }

  private:
    template <int... Offsets> void collect(std::integer_sequence<int, Offsets...>) {
        (collectLine<T::objcFirstLine + Offsets>(), ...);
    }
    template <int Line> void collectLine() {
        if constexpr (requires(Registration<T> & r) { T::objcMember(r, MemberLine<Line>{}); })
            T::objcMember(reg_, MemberLine<Line>{});
    }

    ClassBuilder& add(SEL sel, IMP imp, const char* types) {
        reg_.instanceMethods.push_back({sel, imp, types});
        return *this;
    }

    // +alloc: zeroed memory of the receiving class's size (ivars added at run
    // time included), T's C++ layout in it, isa the receiving class.
    static NSObject* allocate(id receiver, SEL) {
        Class cls = reinterpret_cast<Class>(receiver);
        std::size_t size = std::max(sizeof(T), class_getInstanceSize(cls));
        void* memory = ::operator new(size);
        std::memset(memory, 0, size);
        T* object = new (memory) T();
        object->class_pointer = cls;
        T::objcClassInfo().live->fetch_add(1, std::memory_order_relaxed);
        return object;
    }

    static void destroy(id self, SEL) {
        T::objcClassInfo().live->fetch_sub(1, std::memory_order_relaxed);
        static_cast<T*>(self)->~T();
        ::operator delete(static_cast<void*>(self));
    }

    Registration<T> reg_;
};

// Makes a class known to the runtime by name from the moment its shared object
// is loaded, as the device's classes are: objc_getClass (and so
// NSClassFromString) registers it on its first lookup. Answers true.
bool knownClassOnLoad(const char* name, const ClassInfo& (*info)());

#define OBJC_IMPLEMENT_CLASS(Type)                                                                 \
    const ClassInfo& Type::objcClassInfo() {                                                       \
        static const ClassInfo info = ClassBuilder<Type>().build();                                \
        return info;                                                                               \
    }

#define OBJC_IMPLEMENT_LOADED_CLASS(Type)                                                          \
    OBJC_IMPLEMENT_CLASS(Type)                                                                     \
    [[maybe_unused]] static const bool Type##KnownOnLoad =                                         \
        knownClassOnLoad(#Type, &Type::objcClassInfo);
