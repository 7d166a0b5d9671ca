// Property lists, exact: binary, XML and old-style text are read; binary and
// XML are written. Integers cover the signed and unsigned 64-bit ranges,
// reals keep their bits, dates their format's range, UIDs stay opaque, text
// holds any Unicode scalar value. A malformed value makes the whole input
// unreadable, never another value. Nesting and size are bounded in real
// structure, for what is read and for what is written, and no reader or
// writer recurses deeper than the nesting bound.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ObjectModel/NSObject.h"

struct NSDictionary;

inline constexpr std::size_t kPropertyListMaxBytes = 8 * 1024 * 1024;
inline constexpr int kPropertyListMaxDepth = 256;
// Values once shared objects are counted at each use.
inline constexpr std::size_t kPropertyListMaxValues = 1'000'000;

enum class PropertyListFormat { Binary, XML, OpenStep };

// Reads a property list of any of the three formats; nil with `error` set
// on failure. `format`, when given, tells which format the bytes were in.
Ref<NSObject> propertyListFromBytes(std::string_view bytes, std::string& error,
                                    PropertyListFormat* format = nullptr);
// Each reader on its own.
Ref<NSObject> readBinaryPropertyList(std::string_view bytes, std::string& error);
Ref<NSObject> readXMLPropertyList(std::string_view bytes, std::string& error);
Ref<NSObject> readOpenStepPropertyList(std::string_view bytes, std::string& error);

// Why a writer refused: the value is no property list, or this format
// cannot carry it exactly (or within the size bound) although another may.
enum class WriteRefusal { NotPropertyList, FormatLimit };

// The object in the binary format, or nothing with `error` (and `refusal`).
std::optional<std::string> binaryPropertyList(objc_object* root, std::string& error,
                                              WriteRefusal* refusal = nullptr);
// The object as XML, or nothing when it is no property list or holds what
// XML cannot carry exactly: text XML cannot hold, a UID, a date with a
// fraction or outside the years 1 to 9999, a NaN with a payload.
std::optional<std::string> xmlPropertyList(objc_object* root, std::string& error,
                                           WriteRefusal* refusal = nullptr);

// An immutable deep copy (immutable values are shared), or nil with
// `error` when the object is no property list or exceeds the bounds.
Ref<NSObject> propertyListCopy(objc_object* object, std::string& error);
bool isPropertyList(objc_object* object, std::string& error);

// Ok; Missing: no file. Damaged: a regular file whose bytes are no
// property list with a dictionary at the root (or too large): the only kind
// to keep aside. Unavailable: a transient failure, or the path names no
// regular file; it must be left alone.
enum class PropertyListFile { Ok, Missing, Damaged, Unavailable };
PropertyListFile readDictionaryFile(const std::string& path, Ref<NSDictionary>& result,
                                    std::string& error);

// Writes the dictionary atomically in `format`; XML falls back to binary
// when XML cannot carry a value exactly or within the size bound.
bool writeDictionaryFile(const std::string& path, const NSDictionary* dictionary,
                         std::string& error, PropertyListFormat format = PropertyListFormat::XML);
