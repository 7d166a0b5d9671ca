// Sending messages through the runtime, with nil-receiver semantics: a
// message to nil does nothing and answers zero or nil.
//
//   Ref<NSObject> coord = send<Ref<NSObject>>(post, "mediaCoord"_sel);
//
// In checked builds (TAVELIN_CHECKED) a message sent with a C++ signature that
// does not match the method's type encoding is a clear error.
#pragma once

#include <objc/message.h>
#include <objc/runtime.h>
#include <type_traits>
#include <utility>

#include "ObjectModel/Encoding.h"
#include "ObjectModel/Implementation.h"
#include "ObjectModel/Selector.h"

// How an argument travels: strong references as borrowed pointers, nullptr as id.
template <class T> struct MessageArg { using type = T; };
template <class T> struct MessageArg<Ref<T>> { using type = T*; };
template <> struct MessageArg<std::nullptr_t> { using type = id; };
template <class T> using MessageArgT = typename MessageArg<std::remove_cvref_t<T>>::type;

void checkMessageSignature(id receiver, Class lookupClass, SEL selector, const char* expected);

template <class R> R nilResult() {
    if constexpr (!std::is_void_v<R>) return R{};
}

template <class R, class... A> R callImplementation(IMP imp, id receiver, SEL sel, A&&... args) {
    using Function = ImpResultT<R>(id, SEL, MessageArgT<A>...);
    return R(fromIMP<Function>(imp)(receiver, sel, std::forward<A>(args)...));
}

template <class R = void, class... A> R send(id receiver, SEL sel, A&&... args) {
    if (!receiver) return nilResult<R>();
#ifdef TAVELIN_CHECKED
    checkMessageSignature(receiver, receiver->class_pointer, sel, encoding<R, MessageArgT<A>...>());
#endif
    return callImplementation<R>(objc_msg_lookup(receiver, sel), receiver, sel,
                                 std::forward<A>(args)...);
}

// A class method: the message goes to the class object.
template <class R = void, class... A> R send(Class receiver, SEL sel, A&&... args) {
    return send<R>(reinterpret_cast<id>(receiver), sel, std::forward<A>(args)...);
}

// Sends to the implementation that `superclass` (the superclass of the class
// defining the calling method) answers for the selector.
template <class R = void, class... A>
R sendSuper(id receiver, Class superclass, SEL sel, A&&... args) {
    if (!receiver) return nilResult<R>();
#ifdef TAVELIN_CHECKED
    checkMessageSignature(receiver, superclass, sel, encoding<R, MessageArgT<A>...>());
#endif
    objc_super super{receiver, superclass};
    return callImplementation<R>(objc_msg_lookup_super(&super, sel), receiver, sel,
                                 std::forward<A>(args)...);
}

// The receiver of a wrapper's message. `this` may be nil there, as a receiver
// may on the platform: the barrier keeps the compiler from assuming otherwise.
template <class T> id messageReceiver(const T* self) {
    id receiver = const_cast<T*>(self);
    asm("" : "+r"(receiver));
    return receiver;
}
