#include <bit>
#include <cmath>

#include "Foundation/CFKeyedArchiverUID.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "tests/platform/Foundation/TempRoot.h"

using namespace testing_support;

namespace {

Ref<NSDictionary>
dictionaryOf(std::initializer_list<std::pair<const char*, Ref<NSObject>>> entries) {
    NSDictionary::Storage storage(entries.begin(), entries.end());
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
}

Ref<NSObject> parse(std::string_view bytes) {
    Result<Ref<NSObject>> result = propertyListFromBytes(bytes);
    EXPECT_TRUE(result || !result.problem().empty()); // a refusal says why
    return result ? *result : nullptr;
}

std::string xml(const std::string& body) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>";
}

std::string repeat(const std::string& text, int times) {
    std::string out;
    while (times-- > 0)
        out += text;
    return out;
}

// A binary list of `objects`, the first one its top, with one-byte offsets and references.
std::string bplist(const std::vector<std::string>& objects) {
    std::string list = "bplist00", table, trailer(32, '\0');
    for (const std::string& object : objects) {
        table += static_cast<char>(list.size());
        list += object;
    }
    trailer[6] = trailer[7] = 1;
    trailer[15] = static_cast<char>(objects.size());
    trailer[31] = static_cast<char>(list.size());
    return list + table + trailer;
}

// Written in binary, then read back.
Ref<NSObject> roundTrip(NSObject* value) {
    Result<std::string> bytes = binaryPropertyList(value);
    EXPECT_TRUE(bytes) << bytes.problem();
    return bytes ? parse(*bytes) : nullptr;
}

class PropertyListFileTest : public TempRootTest {
  protected:
    Ref<NSString> file(const char* name) { return NSString::string((root_ / name).string()); }
};

} // namespace

// 600 documents of every type over its full range, written by plistlib:
// what we read and write back, plistlib reads as it wrote it.
TEST_F(PropertyListFileTest, WhatPythonsPlistlibWritesReadsAndWritesBackExactly) {
    if (run("python3 -c 'import plistlib' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
    std::string script = (sourceDir() / "tests/platform/Foundation/plist_documents.py").string();
    ASSERT_EQ(run("python3 " + script + " write " + root_.string() + " 600 20240611"), 0);
    for (const std::string& name : folderNames(root_)) {
        PropertyListFormat format;
        Result<Ref<NSObject>> value = propertyListFromBytes(readText(root_ / name), &format);
        ASSERT_TRUE(value) << name << ": " << value.problem();
        bool binary = format == PropertyListFormat::Binary;
        EXPECT_EQ(binary, name.ends_with(".bin")) << name;
        Result<std::string> bytes = binary ? binaryPropertyList(*value) : xmlPropertyList(*value);
        ASSERT_TRUE(bytes) << name << ": " << bytes.problem();
        writeText(root_ / ("out-" + name.substr(4)), *bytes);
    }
    EXPECT_EQ(run("python3 " + script + " check " + root_.string()), 0);
}

TEST(PropertyList, ForeignValuesKeepTheirRangeKindAndBits) {
    const std::pair<const char*, Ref<NSObject>> read[] = {
        {"<integer>18446744073709551615</integer>", NSNumber::numberWithUnsignedLongLong(~0ull)},
        {"<integer>-9223372036854775808</integer>", NSNumber::numberWithLongLong(INT64_MIN)},
        {"<integer>0x10</integer>", NSNumber::numberWithInt(16)}, // as the platform and plistlib
        {"<date>1900-01-01T00:00:00Z</date>",
         NSDate::dateWithTimeIntervalSinceReferenceDate(-3187296000.0)},
        {"<date>9999-12-31T23:59:59Z</date>",
         NSDate::dateWithTimeIntervalSinceReferenceDate(252423993599.0)},
        {"<string>a&#013;b</string>", "a\rb"_ns}};
    for (const auto& [body, value] : read)
        EXPECT_TRUE(objectsEqual(parse(xml(body)), value)) << body;
    EXPECT_EQ(as<NSNumber>(parse(xml(read[0].first)))->kind(), NSNumber::Kind::Unsigned);
    EXPECT_TRUE(std::signbit(as<NSNumber>(parse(xml("<real>-0.0</real>")))->doubleValue()));
    EXPECT_EQ(as<NSNumber>(roundTrip(NSNumber::numberWithFloat(0.1f)))->kind(),
              NSNumber::Kind::Float);
}

TEST(PropertyList, AMalformedValueMakesTheWholeInputUnreadable) {
    for (const char* body :
         {"<integer>12abc</integer>", "<integer>18446744073709551616</integer>",
          "<integer>-9223372036854775809</integer>", "<integer></integer>", "<real>1e400</real>",
          "<real>1.5x</real>", "<data>!!!!</data>", "<data>QQ=</data>", "<data>Q=Q=</data>",
          "<true>yes</true>", "<date>1970-13-01T00:00:00Z</date>", "<date>1970-01-01</date>",
          "<date>2023-02-29T00:00:00Z</date>", "<string>\xC3</string>"})
        EXPECT_FALSE(parse(xml(body))) << body;
    for (const char* body : {"<dict><key>k</key></dict>", "<dict><string>v</string></dict>",
                             "<dict><key>k</key><true/><key>k</key><false/></dict>", "<unknown/>",
                             "<string>a<b/></string>", "<array>text</array>", "",
                             "<string>&custom;</string>", "<string>a</string><string>b</string>"})
        EXPECT_FALSE(parse(xml(body))) << body;
    // Binary: an unpaired surrogate, a non-ASCII byte in ASCII text, a 16-byte
    // UID, an integer beyond 64 bits.
    for (const std::string& object :
         {std::string("\x61\xD8\x00", 3), std::string("\x51\xC3"), "\x8F" + std::string(16, '\1'),
          std::string("\x14\0\0\0\0\0\0\0\x01", 9) + std::string(8, '\0')})
        EXPECT_FALSE(parse(bplist({object}))) << object.size();
}

TEST(PropertyList, ReadsXmlWithByteOrderMarksAndTheOldStyleTextFormat) {
    EXPECT_TRUE(objectsEqual(parse("\xEF\xBB\xBF" + xml("<real>1.5</real>")),
                             NSNumber::numberWithDouble(1.5)));
    std::string utf16 = "\xFF\xFE"; // libxml2 decodes it
    for (char c : std::string("<plist><string>\xE9</string></plist>"))
        utf16 += {c, '\0'};
    EXPECT_TRUE(objectsEqual(parse(utf16), NSString::string("\xC3\xA9")));
    Ref<NSObject> filter =
        parse("// a filter\n{ Filter = { Bundles = ( \"com.burbn.instagram\" ); };\n"
              "  /* more */ Flags = ( a, b/c:d.e-f_$, ); Bytes = <0fbd 77>; 'single' = "
              "\"q\\\"\\n\\t\\101\\U00e9\\Ud83d\\Ude00\"; Empty = {}; None = (); }");
    std::string same = xml("<dict><key>Filter</key><dict><key>Bundles</key><array>"
                           "<string>com.burbn.instagram</string></array></dict><key>Flags</key>"
                           "<array><string>a</string><string>b/c:d.e-f_$</string></array>"
                           "<key>Bytes</key><data>D713</data><key>Empty</key><dict/>"
                           "<key>None</key><array/><key>single</key>"
                           "<string>q\"\n\tA\xC3\xA9\xF0\x9F\x98\x80</string></dict>");
    ASSERT_TRUE(filter);
    EXPECT_TRUE(objectsEqual(filter, parse(same)));
    for (const char* bad : {"{ a = b }", "{ a = b; a = c; }", "( a b )", "<0fb>", "<0x>", "\"open",
                            "{ a = \"\\U\" ; }", "\"\\200\"", "\"\\Ud800\"", "/* open", "a b",
                            "{ = b; }", "(", "\xC3"})
        EXPECT_FALSE(parse(bad)) << bad;
}

// Nesting counts real structure (markup inside comments or CDATA is text) up
// to 256 levels; binary lists that refer to themselves or expand without end
// are refused, and nothing recurses past the bounds.
TEST(PropertyList, NestingAndExpansionAreBoundedAndNothingRecursesPastThem) {
    std::string hidden = "<!-- </array></array> --><string><![CDATA[</array></array>]]></string>";
    EXPECT_FALSE(parse(xml("<array>" + hidden + repeat("<array>", 30000) +
                           repeat("</array>", 30000) + "</array>")));
    EXPECT_TRUE(
        parse(xml("<array><string><![CDATA[" + repeat("<array>", 300) + "]]></string></array>")));
    for (int levels : {256, 257}) {
        EXPECT_EQ(!!parse(xml(repeat("<array>", levels) + repeat("</array>", levels))),
                  levels == 256);
        EXPECT_EQ(!!parse(repeat("(", levels) + repeat(")", levels)), levels == 256);
    }
    EXPECT_FALSE(parse(bplist({std::string("\xA1\x00", 2)}))); // an array holding itself
    // 40 arrays, each holding the next one twice: 2^40 values once expanded.
    std::vector<std::string> objects;
    for (char next = 1; next <= 40; ++next)
        objects.push_back({'\xA2', next, next});
    objects.push_back("\x09");
    EXPECT_FALSE(parse(bplist(objects)));
    // The same shapes in memory, 300 deep or 2^40 wide, are refused by the writers, quickly.
    Ref<NSObject> deep = NSArray::array(), wide = NSNumber::numberWithInt(1);
    for (int i = 0; i < 300; ++i) {
        deep = NSArray::arrayWithObjects({deep});
        wide = i < 40 ? NSArray::arrayWithObjects({wide, wide}) : wide;
    }
    for (NSObject* shape : {deep.get(), wide.get()}) {
        EXPECT_FALSE(binaryPropertyList(shape));
        EXPECT_FALSE(xmlPropertyList(shape));
    }
    EXPECT_NE(propertyListCopy(deep).problem().find("nested deeper"), std::string::npos);
}

// Files: XML unless a value needs binary; never a file the reader refuses.
TEST_F(PropertyListFileTest, ValuesXmlCannotCarryAreWrittenInBinaryAndTheBoundsHold) {
    Ref<NSString> path = file("settings.plist");
    ASSERT_TRUE(dictionaryOf({{"cr", "a\rb"_ns}})->writeToFile(path, true));
    EXPECT_TRUE(readText(path->utf8()).starts_with("<?xml"));
    // Fractions and far dates, NUL and other text XML cannot hold, UIDs, NaN payloads.
    constexpr std::uint64_t kPayloadNaN = 0x7FF0000000000123ull;
    for (Ref<NSObject> value :
         {Ref<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(-1e15 + 0.5)),
          Ref<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(1e12)),
          Ref<NSObject>(NSString::string(std::string("a\0b", 3))), Ref<NSObject>("bell\a"_ns),
          Ref<NSObject>(NSString::string("\xEF\xBF\xBE")),
          Ref<NSObject>(CFKeyedArchiverUID::uidWithValue(~0ull)),
          Ref<NSObject>(NSNumber::numberWithDouble(std::bit_cast<double>(kPayloadNaN)))}) {
        SCOPED_TRACE(describe(value)->utf8());
        WriteRefusal refusal = WriteRefusal::NotPropertyList;
        EXPECT_FALSE(xmlPropertyList(value, &refusal));
        EXPECT_EQ(refusal, WriteRefusal::FormatLimit);
        ASSERT_TRUE(dictionaryOf({{"k", value}})->writeToFile(path, true));
        EXPECT_TRUE(readText(path->utf8()).starts_with("bplist00"));
        Ref<NSObject> back = NSDictionary::dictionaryWithContentsOfFile(path)->objectForKey("k");
        auto* number = as<NSNumber>(back);
        EXPECT_TRUE(number ? std::bit_cast<std::uint64_t>(number->doubleValue()) == kPayloadNaN
                           : objectsEqual(back, value));
    }
    // 64 distinct 64 KiB blocks used 4 times each: 4 MiB binary, 22 MiB as XML.
    std::vector<Ref<NSObject>> blocks;
    std::vector<NSObject*> uses;
    for (int i = 0; i < 256; ++i) {
        blocks.push_back(NSData::data(std::string(64 * 1024, static_cast<char>(i))));
        uses.push_back(blocks[i % 64]);
    }
    auto holding = [&] {
        return dictionaryOf({{"b", NSArray::arrayWithObjects(uses.data(), uses.size())}});
    };
    ASSERT_TRUE(holding()->writeToFile(path, true));
    EXPECT_LE(std::filesystem::file_size(path->utf8()), kPropertyListMaxBytes);
    EXPECT_TRUE(NSDictionary::dictionaryWithContentsOfFile(path));
    std::string before = readText(path->utf8());
    uses.assign(blocks.begin(), blocks.end());
    EXPECT_FALSE(holding()->writeToFile(path, true)); // 16 MiB in any format
    EXPECT_EQ(readText(path->utf8()), before);
}

// What is no property list is not written; what is no dictionary reads as nil.
TEST_F(PropertyListFileTest, ValuesThatAreNoPropertyListAreRefusedAndTheFileStays) {
    writeText(root_ / "list", xml("<array><true/></array>"));
    for (Ref<NSObject> bad :
         {Ref<NSObject>::adopt(alloc<NSObject>()), Ref<NSObject>(NSString::string("bad \xC3")),
          Ref<NSObject>(NSString::string("\xED\xA0\x80"))}) {
        EXPECT_FALSE(propertyListCopy(bad).problem().empty());
        EXPECT_FALSE(dictionaryOf({{"a", bad}})->writeToFile(file("list"), true));
    }
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"list"});
    EXPECT_EQ(readText(root_ / "list"), xml("<array><true/></array>"));
    for (Ref<NSString> path : {file("list"), file("missing"), file(""), Ref<NSString>()}) {
        EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(path));
        EXPECT_FALSE(NSMutableDictionary::dictionaryWithContentsOfFile(path));
    }
}

// Inputs the fuzzers found to crash or hang a reader once; each must now be
// read or refused, and what is read must write and read back.
TEST(PropertyList, InputsThatOnceCrashedTheReaderAreHandled) {
    std::filesystem::path folder = sourceDir() / "tests/platform/Foundation/hostile";
    Ref<NSString> withNulText = as<NSString>(parse(readText(folder / "string-with-nul.bplist")));
    ASSERT_TRUE(withNulText);
    EXPECT_NE(withNulText->utf8().find('\0'), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        Ref<NSObject> value = parse(readText(entry.path()));
        EXPECT_TRUE(!value || objectsEqual(roundTrip(value), value)) << entry.path();
    }
}
