// Objective-C type encodings generated from C++ signatures at compile time:
// void (id, SEL, id) gives "v@:@".
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <objc/runtime.h>
#include <string_view>
#include <type_traits>

#include "ObjectModel/Ref.h"

template <class T, class = void> struct TypeCode {
    static constexpr std::string_view value = "^v";
};

#define OBJC_TYPE_CODE(Type, Code)                                                                 \
    template <> struct TypeCode<Type> { static constexpr std::string_view value = Code; }

OBJC_TYPE_CODE(void, "v");
OBJC_TYPE_CODE(bool, "B");
OBJC_TYPE_CODE(char, "c");
OBJC_TYPE_CODE(signed char, "c");
OBJC_TYPE_CODE(unsigned char, "C");
OBJC_TYPE_CODE(short, "s");
OBJC_TYPE_CODE(unsigned short, "S");
OBJC_TYPE_CODE(int, "i");
OBJC_TYPE_CODE(unsigned int, "I");
OBJC_TYPE_CODE(long, "q");
OBJC_TYPE_CODE(unsigned long, "Q");
OBJC_TYPE_CODE(long long, "q");
OBJC_TYPE_CODE(unsigned long long, "Q");
OBJC_TYPE_CODE(float, "f");
OBJC_TYPE_CODE(double, "d");
OBJC_TYPE_CODE(SEL, ":");
OBJC_TYPE_CODE(Class, "#");
OBJC_TYPE_CODE(const char*, "*");

// Any pointer to a runtime object, and strong references to one, are objects.
template <class T> struct TypeCode<T*, std::enable_if_t<std::is_base_of_v<objc_object, T>>> {
    static constexpr std::string_view value = "@";
};
template <class T> struct TypeCode<Ref<T>> { static constexpr std::string_view value = "@"; };
template <class T> struct TypeCode<Retained<T>> { static constexpr std::string_view value = "@"; };
template <class F> struct TypeCode<std::function<F>> {
    static constexpr std::string_view value = "@?";
};

template <class T>
inline constexpr std::string_view typeCode = TypeCode<std::remove_cvref_t<T>>::value;

template <class R, class... A> consteval auto makeEncoding() {
    constexpr std::size_t size =
        typeCode<R>.size() + 2 + (std::size_t{0} + ... + typeCode<A>.size());
    std::array<char, size + 1> out{};
    std::size_t at = 0;
    auto append = [&](std::string_view part) {
        for (char c : part)
            out[at++] = c;
    };
    append(typeCode<R>);
    append("@:");
    (append(typeCode<A>), ...);
    out[at] = '\0';
    return out;
}

template <class R, class... A> inline constexpr auto encodingStorage = makeEncoding<R, A...>();

// The encoding of a method implementation R (id, SEL, A...).
template <class R, class... A> constexpr const char* encoding() {
    return encodingStorage<R, A...>.data();
}
