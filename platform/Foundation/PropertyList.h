// Property lists, exact: binary, XML and old-style text are read; binary and
// XML are written. Integers cover the signed and unsigned 64-bit ranges,
// reals keep their bits, dates their format's range, UIDs stay opaque, text
// holds any Unicode scalar value. A malformed value makes the whole input
// unreadable, never another value. Nesting and size are bounded in real
// structure, for what is read and for what is written, and no reader or
// writer recurses deeper than the nesting bound.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Foundation/Result.h"
#include "ObjectModel/NSObject.h"

struct NSDictionary;

inline constexpr std::size_t kPropertyListMaxBytes = 8 * 1024 * 1024;
inline constexpr int kPropertyListMaxDepth = 256;
// Values once shared objects are counted at each use.
inline constexpr std::size_t kPropertyListMaxValues = 1'000'000;

enum class PropertyListFormat { Binary, XML, OpenStep };

// Reads a property list of any of the three formats. `format`, when given,
// tells which format the bytes were in.
Result<Ref<NSObject>> propertyListFromBytes(std::string_view bytes,
                                            PropertyListFormat* format = nullptr);
// Each reader on its own.
Result<Ref<NSObject>> readBinaryPropertyList(std::string_view bytes);
Result<Ref<NSObject>> readXMLPropertyList(std::string_view bytes);
Result<Ref<NSObject>> readOpenStepPropertyList(std::string_view bytes);

// Why a writer refused: the value is no property list, or this format
// cannot carry it exactly (or within the size bound) although another may.
enum class WriteRefusal { NotPropertyList, FormatLimit };

// The object in the binary format, or why not (and `refusal`).
Result<std::string> binaryPropertyList(objc_object* root, WriteRefusal* refusal = nullptr);
// The object as XML; refused when it is no property list or holds what XML
// cannot carry exactly: text XML cannot hold, a UID, a date with a fraction
// or outside the years 1 to 9999, a NaN with a payload.
Result<std::string> xmlPropertyList(objc_object* root, WriteRefusal* refusal = nullptr);

// An immutable deep copy (immutable values are shared); refused when the
// object is no property list or exceeds the bounds.
Result<Ref<NSObject>> propertyListCopy(objc_object* object);

// Ok; Missing: no file. Damaged: a regular file whose bytes are no
// property list with a dictionary at the root (or too large): the only kind
// to keep aside. Unavailable: a transient failure, or the path names no
// regular file; it must be left alone.
enum class PropertyListFile { Ok, Missing, Damaged, Unavailable };
// The file's dictionary, or why not, with `kind` saying which failure it was.
Result<Ref<NSDictionary>> readDictionaryFile(const std::string& path, PropertyListFile& kind);

// Writes the dictionary atomically in `format`; XML falls back to binary
// when XML cannot carry a value exactly or within the size bound.
Result<void> writeDictionaryFile(const std::string& path, const NSDictionary* dictionary,
                                 PropertyListFormat format = PropertyListFormat::XML);
