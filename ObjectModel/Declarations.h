// Declaring a class's messages, each selector spelled once, in its header:
//
//   struct UIView : NSObject {
//       OBJC_CLASS(UIView, NSObject)
//       OBJC_CLASS_METHOD(Ref<UIView>, viewWithFrame, "viewWithFrame:", CGRect)
//       OBJC_PROPERTY(long, tag, setTag)               // backed by _tag
//       OBJC_READONLY_AS(bool, hidden, isHidden)        // getter isHidden, _hidden
//       OBJC_METHOD(void, addSubview, "addSubview:", UIView*)
//       OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
//     ...
//   };
//
// Each C++ member named after a message is a one-line wrapper that sends it
// (wrappers are const: a message does not care). The implementation that the
// runtime method runs is the private member `<name>Imp`, defined in the class's
// unit; class methods' implementations are static and take the receiving
// class first. Property accessors are generated over the `_<name>` member.
// OBJC_OVERRIDE registers an implementation for a selector that an ancestor
// declares, and reuses the ancestor's wrapper.
//
// ClassBuilder collects the declarations when it registers the class. Declare
// messages in the public part of the class; each macro leaves it public.
#pragma once

#include <type_traits>
#include <utility>

#include "ObjectModel/Message.h"

template <class T> struct Registration;
template <int Line> struct MemberLine {};
// How many lines after OBJC_CLASS a class may declare messages.
inline constexpr int kMemberWindow = 240;

#define OBJC_COUNT_(...) OBJC_PICK_(__VA_OPT__(__VA_ARGS__, ) 8, 7, 6, 5, 4, 3, 2, 1, 0)
#define OBJC_PICK_(a, b, c, d, e, f, g, h, N, ...) N
#define OBJC_CAT_(a, b) OBJC_CAT2_(a, b)
#define OBJC_CAT2_(a, b) a##b

#define OBJC_PARAMS_0()
#define OBJC_PARAMS_1(A) A a1
#define OBJC_PARAMS_2(A, B) A a1, B a2
#define OBJC_PARAMS_3(A, B, C) A a1, B a2, C a3
#define OBJC_PARAMS_4(A, B, C, D) A a1, B a2, C a3, D a4
#define OBJC_PARAMS_5(A, B, C, D, E) A a1, B a2, C a3, D a4, E a5
#define OBJC_PARAMS_6(A, B, C, D, E, F) A a1, B a2, C a3, D a4, E a5, F a6
#define OBJC_PARAMS_7(A, B, C, D, E, F, G) A a1, B a2, C a3, D a4, E a5, F a6, G a7
#define OBJC_PARAMS_8(A, B, C, D, E, F, G, H) A a1, B a2, C a3, D a4, E a5, F a6, G a7, H a8
#define OBJC_ARGS_0
#define OBJC_ARGS_1 , std::move(a1)
#define OBJC_ARGS_2 OBJC_ARGS_1, std::move(a2)
#define OBJC_ARGS_3 OBJC_ARGS_2, std::move(a3)
#define OBJC_ARGS_4 OBJC_ARGS_3, std::move(a4)
#define OBJC_ARGS_5 OBJC_ARGS_4, std::move(a5)
#define OBJC_ARGS_6 OBJC_ARGS_5, std::move(a6)
#define OBJC_ARGS_7 OBJC_ARGS_6, std::move(a7)
#define OBJC_ARGS_8 OBJC_ARGS_7, std::move(a8)
#define OBJC_PARAMS_(...) OBJC_CAT_(OBJC_PARAMS_, OBJC_COUNT_(__VA_ARGS__))(__VA_ARGS__)
#define OBJC_ARGS_(...) OBJC_CAT_(OBJC_ARGS_, OBJC_COUNT_(__VA_ARGS__))

// One registration per line; ClassBuilder finds them by line.
#define OBJC_MEMBER_(...)                                                                          \
    template <class Reg>                                                                           \
    requires std::is_same_v<Reg, ::Registration<Self>>                                             \
    static void objcMember(Reg& r, ::MemberLine<__LINE__>) {                                       \
        static_assert(__LINE__ - objcFirstLine < ::kMemberWindow, "declare messages nearer to "    \
                                                                  "OBJC_CLASS");                   \
        __VA_ARGS__;                                                                               \
    }

#define OBJC_IMP_(R, name, ...) static_cast<R (Self::*)(__VA_ARGS__)>(&Self::name##Imp)

#define OBJC_METHOD(R, name, sel, ...)                                                             \
  public:                                                                                          \
    R name(OBJC_PARAMS_(__VA_ARGS__)) const {                                                      \
        return ::send<R>(::messageReceiver(this), ::selector<sel>() OBJC_ARGS_(__VA_ARGS__));      \
    }                                                                                              \
    OBJC_MEMBER_(r.template method<sel, OBJC_IMP_(R, name, __VA_ARGS__)>())                        \
  private:                                                                                         \
    R name##Imp(__VA_ARGS__);                                                                      \
                                                                                                   \
  public:

#define OBJC_OVERRIDE(R, name, sel, ...)                                                           \
    OBJC_MEMBER_(r.template method<sel, OBJC_IMP_(R, name, __VA_ARGS__)>())                        \
  private:                                                                                         \
    R name##Imp(__VA_ARGS__);                                                                      \
                                                                                                   \
  public:

#define OBJC_CLASS_METHOD(R, name, sel, ...)                                                       \
  public:                                                                                          \
    static R name(OBJC_PARAMS_(__VA_ARGS__)) {                                                     \
        return ::send<R>(objcClass(), ::selector<sel>() OBJC_ARGS_(__VA_ARGS__));                  \
    }                                                                                              \
    OBJC_MEMBER_(r.template classMethod<sel, static_cast<R (*)(Class __VA_OPT__(, ) __VA_ARGS__)>( \
                                                 &Self::name##Imp)>())                             \
  private:                                                                                         \
    static R name##Imp(Class __VA_OPT__(, ) __VA_ARGS__);                                          \
                                                                                                   \
  public:

#define OBJC_GETTER_(T, ivar, getter)                                                              \
    T getter() const {                                                                             \
        return ::send<T>(::messageReceiver(this), ::selector<#getter>());                          \
    }

#define OBJC_SETTER_(T, setter)                                                                    \
    void setter(T value) const {                                                                   \
        ::send(::messageReceiver(this), ::selector<#setter ":">(), std::move(value));              \
    }

// A read-only property: a getter over _ivar.
#define OBJC_READONLY_AS(T, ivar, getter)                                                          \
  public:                                                                                          \
    OBJC_GETTER_(T, ivar, getter)                                                                  \
    OBJC_MEMBER_(r.template addGetter<#getter, T, &Self::_##ivar>())

#define OBJC_READONLY(T, name) OBJC_READONLY_AS(T, name, name)

// A read-write property: getter and setter over _ivar.
#define OBJC_PROPERTY_AS(T, ivar, getter, setter)                                                  \
  public:                                                                                          \
    OBJC_GETTER_(T, ivar, getter)                                                                  \
    OBJC_SETTER_(T, setter)                                                                        \
    OBJC_MEMBER_(r.template addGetter<#getter, T, &Self::_##ivar>();                               \
                 r.template addSetter<#setter ":", T, &Self::_##ivar>())

#define OBJC_PROPERTY(T, name, setter) OBJC_PROPERTY_AS(T, name, name, setter)
