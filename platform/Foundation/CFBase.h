// The version of the platform's CoreFoundation, which a library's filter list
// can ask for (a CoreFoundationVersion range).
#pragma once

inline constexpr double kCFCoreFoundationVersionNumber = 1946.10;
