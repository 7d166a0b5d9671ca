// Foundation's basic integer types and constants.
#pragma once

#include <climits>
#include <objc/runtime.h>

using NSInteger = long;
using NSUInteger = unsigned long;
inline constexpr NSUInteger NSNotFound = LONG_MAX;

struct NSString;

// The class of that name in this process, or Nil (also for a nil name).
Class NSClassFromString(const NSString* name);
