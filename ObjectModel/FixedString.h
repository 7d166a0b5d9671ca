// A string literal usable as a template argument, so that each literal gets
// its own cached selector or string object.
#pragma once

#include <algorithm>
#include <cstddef>

template <std::size_t N> struct FixedString {
    char data[N]{};
    constexpr FixedString(const char (&text)[N]) { std::copy_n(text, N, data); }
    static constexpr std::size_t length = N - 1;
};
