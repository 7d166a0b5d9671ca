// Foundation's basic integer types and constants.
#pragma once

#include <climits>

using NSInteger = long;
using NSUInteger = unsigned long;
inline constexpr NSUInteger NSNotFound = LONG_MAX;
