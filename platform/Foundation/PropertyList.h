// Property lists through libplist: strings, booleans, integers, reals,
// arrays, dictionaries, data and dates; read from any encoding libplist
// reads, written as XML in Apple's format with sorted keys.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ObjectModel/NSObject.h"

struct NSDictionary;

inline constexpr std::size_t kPropertyListMaxBytes = 8 * 1024 * 1024;
inline constexpr int kPropertyListMaxDepth = 256;

// Parses a property list. Input larger than kPropertyListMaxBytes or nested
// deeper than kPropertyListMaxDepth is refused before libplist sees it; a
// leading UTF-8 byte order mark is skipped. nil with `error` set on failure.
Ref<NSObject> propertyListFromBytes(std::string_view bytes, std::string& error);

// The object as an XML property list, or nothing (with `error`) when it is
// not one: another class, text that XML cannot carry (control characters,
// malformed UTF-8), a date out of range, nesting too deep.
std::optional<std::string> xmlPropertyList(objc_object* root, std::string& error);

// Whether xmlPropertyList would accept the object; `error` says why not.
bool isPropertyList(objc_object* object, std::string& error);

enum class PropertyListFile { Ok, Missing, Damaged };
// Reads a property-list file whose root is a dictionary into `result`.
// Damaged: unreadable, too large, not a property list or not a dictionary.
PropertyListFile readDictionaryFile(const std::string& path, Ref<NSDictionary>& result,
                                    std::string& error);

// Writes the dictionary as an XML property list, atomically.
bool writeDictionaryFile(const std::string& path, const NSDictionary* dictionary,
                         std::string& error);
