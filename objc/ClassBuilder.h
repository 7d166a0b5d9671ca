// Registers the runtime class of a C++ class, once, with its messages.
//
//   const ClassInfo& IGPost::objcClassInfo() {
//       static const ClassInfo info = ClassBuilder<IGPost>()
//           .method<"mediaCoord", &IGPost::mediaCoord>()
//           .build();
//       return info;
//   }
//
// Each message is a member function called through a generated plain
// implementation R (id, SEL, A...) whose type encoding comes from the same
// signature. A generated dealloc runs the destructor of the most-derived class.
#pragma once

#include <objc/runtime.h>
#include <utility>
#include <vector>

#include "objc/Encoding.h"
#include "objc/FixedString.h"
#include "objc/Implementation.h"
#include "objc/NSObject.h"
#include "objc/Selector.h"

template <auto Member> struct Trampoline;

template <class C, class R, class... A, R (C::*M)(A...)> struct Trampoline<M> {
    static ImpResultT<R> call(id self, SEL, A... args) {
        if constexpr (std::is_void_v<R>)
            (static_cast<C*>(self)->*M)(std::forward<A>(args)...);
        else
            return toImpResult((static_cast<C*>(self)->*M)(std::forward<A>(args)...));
    }
    static constexpr const char* types = encoding<R, A...>();
};

template <class C, class R, class... A, R (C::*M)(A...) const> struct Trampoline<M> {
    static ImpResultT<R> call(id self, SEL, A... args) {
        if constexpr (std::is_void_v<R>)
            (static_cast<const C*>(self)->*M)(std::forward<A>(args)...);
        else
            return toImpResult((static_cast<const C*>(self)->*M)(std::forward<A>(args)...));
    }
    static constexpr const char* types = encoding<R, A...>();
};

struct MethodEntry {
    SEL selector;
    IMP implementation;
    const char* types;
};

// Registers a class of that name under `superclass`, or answers the one this
// process registered before (another shared object may have asked first). Two
// different C++ layouts under one name are an error.
ClassInfo registerClass(const char* name, Class superclass, std::size_t instanceSize,
                        const std::vector<MethodEntry>& methods);

template <class T> class ClassBuilder {
  public:
    ClassBuilder() { add(selector<"dealloc">(), toIMP(&destroy), encoding<void>()); }

    template <FixedString Name, auto Member> ClassBuilder& method() {
        using Imp = Trampoline<Member>;
        return add(selector<Name>(), toIMP(&Imp::call), Imp::types);
    }

    // A plain implementation function R (id, SEL, A...).
    template <FixedString Name, class R, class... A>
    ClassBuilder& function(R (*implementation)(id, SEL, A...)) {
        return add(selector<Name>(), toIMP(implementation), encoding<R, A...>());
    }

    ClassInfo build() const {
        Class superclass = Nil;
        if constexpr (!std::is_void_v<typename T::Super>) superclass = T::Super::objcClass();
        return registerClass(T::className, superclass, sizeof(T), methods_);
    }

  private:
    ClassBuilder& add(SEL sel, IMP imp, const char* types) {
        methods_.push_back({sel, imp, types});
        return *this;
    }

    static void destroy(id self, SEL) {
        T::objcClassInfo().live->fetch_sub(1, std::memory_order_relaxed);
        delete static_cast<T*>(self);
    }

    std::vector<MethodEntry> methods_;
};
