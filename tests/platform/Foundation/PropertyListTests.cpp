#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>

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
    NSDictionary::Storage storage;
    for (const auto& [key, value] : entries)
        storage.emplace(key, value);
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
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// Written in `format`, then read back.
Ref<NSObject> roundTrip(NSObject* value, bool binary) {
    Result<std::string> bytes = binary ? binaryPropertyList(value) : xmlPropertyList(value);
    EXPECT_TRUE(bytes) << bytes.problem();
    return bytes ? parse(*bytes) : nullptr;
}

std::filesystem::path sourceDir() {
    const char* dir = std::getenv("TAVELIN_SOURCE_DIR");
    return dir ? dir : ".";
}

class PropertyListFileTest : public TempRootTest {};

} // namespace

// 600 documents of every type over its full range, written by plistlib:
// what we read and write back, plistlib reads as it wrote it.
TEST_F(PropertyListFileTest, WhatPythonsPlistlibWritesReadsAndWritesBackExactly) {
    if (run("python3 -c 'import plistlib' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
    std::string script = (sourceDir() / "tests/platform/Foundation/plist_documents.py").string();
    ASSERT_EQ(run("python3 " + script + " write " + root_.string() + " 600 20240611"), 0);
    int documents = 0;
    for (const std::string& name : folderNames(root_)) {
        PropertyListFormat format;
        Result<Ref<NSObject>> value = propertyListFromBytes(readText(root_ / name), &format);
        ASSERT_TRUE(value) << name << ": " << value.problem();
        bool binary = format == PropertyListFormat::Binary;
        EXPECT_EQ(binary, name.ends_with(".bin")) << name;
        Result<std::string> bytes = binary ? binaryPropertyList(*value) : xmlPropertyList(*value);
        ASSERT_TRUE(bytes) << name << ": " << bytes.problem();
        writeText(root_ / ("out-" + name.substr(4)), *bytes);
        ++documents;
    }
    EXPECT_EQ(documents, 600);
    EXPECT_EQ(run("python3 " + script + " check " + root_.string()), 0);
}

TEST(PropertyList, ForeignValuesKeepTheirRangeKindAndBits) {
    Ref<NSDictionary> read =
        as<NSDictionary>(parse(xml("<dict><key>u</key><integer>18446744073709551615</integer>"
                                   "<key>s</key><integer>-9223372036854775808</integer>"
                                   "<key>old</key><date>1900-01-01T00:00:00Z</date>"
                                   "<key>far</key><date>9999-12-31T23:59:59Z</date>"
                                   "<key>z</key><real>-0.0</real><key>hex</key>"
                                   "<integer>0x10</integer><key>t</key><string>a&#0"
                                   "13;b</string></dict>")));
    ASSERT_TRUE(read);
    auto number = [&](const char* key) { return as<NSNumber>(read->objectForKey(key)); };
    EXPECT_EQ(number("u")->kind(), NSNumber::Kind::Unsigned);
    EXPECT_EQ(number("u")->unsignedLongLongValue(), ~0ull);
    EXPECT_EQ(number("s")->longLongValue(), INT64_MIN);
    EXPECT_TRUE(std::signbit(number("z")->doubleValue()));
    EXPECT_EQ(number("hex")->longLongValue(), 16); // as the platform and plistlib read it
    EXPECT_EQ(as<NSDate>(read->objectForKey("old"))->timeIntervalSinceReferenceDate(),
              -3187296000.0);
    EXPECT_EQ(as<NSString>(read->objectForKey("t"))->utf8(), "a\rb");
    // Binary keeps what XML cannot: fractions, far dates, NUL, UIDs, payloads.
    double payloadNaN = std::bit_cast<double>(0x7FF0000000000123ull);
    Ref<NSDictionary> binaryOnly = dictionaryOf({
        {"date", NSDate::dateWithTimeIntervalSinceReferenceDate(-1e15 + 0.5)},
        {"nul", NSString::string(std::string("a\0b", 3))},
        {"uid", CFKeyedArchiverUID::uidWithValue(~0ull)},
        {"nan", NSNumber::numberWithDouble(payloadNaN)},
        {"float", NSNumber::numberWithFloat(0.1f)},
    });
    Ref<NSDictionary> back = as<NSDictionary>(roundTrip(binaryOnly, true));
    ASSERT_TRUE(back);
    EXPECT_TRUE(objectsEqual(back->objectForKey("date"), binaryOnly->objectForKey("date")));
    EXPECT_TRUE(objectsEqual(back->objectForKey("nul"), binaryOnly->objectForKey("nul")));
    EXPECT_TRUE(objectsEqual(back->objectForKey("uid"), binaryOnly->objectForKey("uid")));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(as<NSNumber>(back->objectForKey("nan"))->doubleValue()),
              0x7FF0000000000123ull);
    EXPECT_EQ(as<NSNumber>(back->objectForKey("float"))->kind(), NSNumber::Kind::Float);
    for (const auto& [key, value] : binaryOnly->entries()) {
        WriteRefusal refusal = WriteRefusal::NotPropertyList;
        EXPECT_FALSE(xmlPropertyList(dictionaryOf({{"k", value}}), &refusal) && key != "float")
            << key;
        EXPECT_TRUE(key == "float" || refusal == WriteRefusal::FormatLimit) << key;
    }
}

TEST(PropertyList, AMalformedValueMakesTheWholeInputUnreadable) {
    for (const char* body : {"<integer>12abc</integer>",
                             "<integer>18446744073709551616</integer>",
                             "<integer>-9223372036854775809</integer>",
                             "<integer></integer>",
                             "<real>1e400</real>",
                             "<real>1.5x</real>",
                             "<data>!!!!</data>",
                             "<data>QQ=</data>",
                             "<data>Q=Q=</data>",
                             "<date>1970-13-01T00:00:00Z</date>",
                             "<date>2023-02-29T00:00:00Z</date>",
                             "<date>1970-01-01</date>",
                             "<dict><key>k</key></dict>",
                             "<dict><string>v</string></dict>",
                             "<dict><key>k</key><true/><key>k</key><false/></dict>",
                             "<true>yes</true>",
                             "<string>a<b/></string>",
                             "<unknown/>",
                             "<array>text</array>",
                             "<string>&custom;</string>",
                             "<string>a</string><string>b</string>",
                             "<string>\xC3</string>",
                             ""})
        EXPECT_FALSE(parse(xml(body))) << body;
    // Binary: an unpaired surrogate, a non-ASCII byte in ASCII text, a 17-byte
    // wide UID, a too-wide integer; each in a one-object list.
    for (std::string object :
         {std::string("\x61\xD8\x00", 3), std::string("\x51\xC3", 2),
          std::string("\x8F") + std::string(16, '\1'),
          std::string("\x14\x00\x00\x00\x00\x00\x00\x00\x01", 9) + std::string(8, '\0')}) {
        std::string list = "bplist00" + object + '\x08' + std::string(6, '\0') + "\x01\x01" +
                           std::string(7, '\0') + '\x01' + std::string(8, '\0') +
                           std::string(7, '\0') + static_cast<char>(8 + object.size());
        EXPECT_FALSE(readBinaryPropertyList(list)) << object.size();
    }
}

TEST(PropertyList, ReadsXmlBinaryAndOldStyleTextWithByteOrderMarks) {
    const char* plain = "<?xml version=\"1.0\"?><plist "
                        "version=\"1.0\"><dict><key>k</key><real>1.5</real></dict></plist>";
    Ref<NSDictionary> read = as<NSDictionary>(parse(plain));
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(as<NSNumber>(read->objectForKey("k"))->doubleValue(), 1.5);
    EXPECT_TRUE(as<NSDictionary>(parse(std::string("\xEF\xBB\xBF") + plain)));
    // UTF-16 with its byte order mark: libxml2 decodes it.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<plist><string>\xC3\xA9</string></plist>"))
        utf16 += {c, '\0'};
    utf16.replace(utf16.find("\xC3\0\xA9\0", 0, 4), 4, "\xE9\0", 2);
    Ref<NSString> text = as<NSString>(parse(utf16));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->utf8(), "\xC3\xA9");
}

TEST(PropertyList, ReadsTheOldStyleTextFormat) {
    Ref<NSDictionary> filter = as<NSDictionary>(
        parse("// a filter\n{ Filter = { Bundles = ( \"com.burbn.instagram\" ); };\n"
              "  /* more */ Flags = ( a, b/c:d.e-f_$, ); Bytes = <0fbd 77>; 'single' = "
              "\"q\\\"\\n\\t\\101\\U00e9\\Ud83d\\Ude00\"; Empty = {}; None = (); }"));
    ASSERT_TRUE(filter);
    auto bundles =
        as<NSArray>(as<NSDictionary>(filter->objectForKey("Filter"))->objectForKey("Bundles"));
    ASSERT_TRUE(bundles);
    EXPECT_EQ(as<NSString>(bundles->objectAtIndex(0))->utf8(), "com.burbn.instagram");
    EXPECT_EQ(as<NSArray>(filter->objectForKey("Flags"))->count(), 2u);
    EXPECT_EQ(as<NSData>(filter->objectForKey("Bytes"))->view(), "\x0f\xbd\x77");
    EXPECT_EQ(as<NSString>(filter->objectForKey("single"))->utf8(),
              "q\"\n\tA\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(as<NSDictionary>(filter->objectForKey("Empty"))->count(), 0u);
    for (const char* bad : {"{ a = b }", "{ a = b; a = c; }", "( a b )", "<0fb>", "<0x>", "\"open",
                            "{ a = \"\\U\" ; }", "\"\\200\"", "\"\\Ud800\"", "/* open", "a b",
                            "{ = b; }", "(", "\xC3"})
        EXPECT_FALSE(parse(bad)) << bad;
    EXPECT_FALSE(parse(repeat("(", 300) + repeat(")", 300)));
    EXPECT_TRUE(parse(repeat("(", 256) + repeat(")", 256)));
}

// Nesting counts real structure: markup inside comments or CDATA is text.
TEST(PropertyList, DepthIsCountedInRealStructureAndNothingRecursesPastIt) {
    std::string hidden = "<!-- </array></array> --><string><![CDATA[</array></array>]]></string>";
    EXPECT_FALSE(parse(xml("<array>" + hidden + repeat("<array>", 30000) +
                           repeat("</array>", 30000) + "</array>")));
    EXPECT_TRUE(
        parse(xml("<array><string><![CDATA[" + repeat("<array>", 300) + "]]></string></array>")));
    EXPECT_TRUE(parse(xml(repeat("<array>", 256) + "<true/>" + repeat("</array>", 256))));
    EXPECT_FALSE(parse(xml(repeat("<dict><key>k</key>", 257) + repeat("</dict>", 257))));
    Ref<NSObject> deep = NSArray::array();
    for (int i = 0; i < 300; ++i) {
        NSObject* inner = deep;
        deep = NSArray::arrayWithObjects(&inner, 1);
    }
    EXPECT_FALSE(binaryPropertyList(deep));
    EXPECT_FALSE(xmlPropertyList(deep));
    EXPECT_NE(propertyListCopy(deep).problem().find("nested deeper"), std::string::npos);
}

TEST(PropertyList, BinaryListsThatReferToThemselvesOrExpandWithoutEndAreRefused) {
    // Object 0 is an array holding object 0.
    const unsigned char cyclic[] = {
        'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xA1, 0x00, 0x08, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0,   0,
        0,   0,   0,   0,   1,   0,   0,   0,   0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0A};
    EXPECT_FALSE(parse({reinterpret_cast<const char*>(cyclic), sizeof cyclic}));
    // 40 arrays, each holding the next one twice: 2^40 values once expanded.
    std::string list = "bplist00";
    std::vector<std::size_t> offsets;
    for (int i = 0; i < 40; ++i) {
        offsets.push_back(list.size());
        list += {'\xA2', static_cast<char>(i + 1), static_cast<char>(i + 1)};
    }
    offsets.push_back(list.size());
    list += '\x09';
    std::size_t table = list.size();
    for (std::size_t offset : offsets)
        list += static_cast<char>(offset);
    std::string trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = static_cast<char>(offsets.size());
    trailer[31] = static_cast<char>(table);
    EXPECT_FALSE(parse(list + trailer));
    // The same shape in memory is refused by the writers, quickly.
    Ref<NSObject> wide = NSNumber::numberWithInt(1);
    for (int i = 0; i < 40; ++i) {
        NSObject* twice[] = {wide, wide};
        wide = NSArray::arrayWithObjects(twice, 2);
    }
    EXPECT_FALSE(binaryPropertyList(wide));
    EXPECT_FALSE(xmlPropertyList(wide));
}

// Files: XML unless a value needs binary; never a file the reader refuses.
TEST_F(PropertyListFileTest, ValuesXmlCannotCarryAreWrittenInBinaryAndTheBoundsHold) {
    std::string path = (root_ / "settings.plist").string();
    Ref<NSDictionary> plain = dictionaryOf({{"cr", NSString::string("a\rb")}});
    ASSERT_TRUE(plain->writeToFile(NSString::string(path), true));
    EXPECT_TRUE(readText(path).starts_with("<?xml"));
    for (Ref<NSObject> value :
         {Ref<NSObject>(NSString::string("bell\a")),
          Ref<NSObject>(NSString::string("\xEF\xBF\xBE")),
          Ref<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(1e12))}) {
        ASSERT_TRUE(dictionaryOf({{"k", value}})->writeToFile(NSString::string(path), true));
        EXPECT_TRUE(readText(path).starts_with("bplist00"));
        Ref<NSDictionary> back = NSDictionary::dictionaryWithContentsOfFile(NSString::string(path));
        ASSERT_TRUE(back);
        EXPECT_TRUE(objectsEqual(back->objectForKey("k"), value));
    }
    // 64 distinct 64 KiB blocks used 4 times each: 4 MiB binary, 22 MiB as XML.
    std::vector<Ref<NSObject>> blocks;
    for (int i = 0; i < 64; ++i)
        blocks.push_back(NSData::data(std::string(64 * 1024, static_cast<char>(i))));
    std::vector<NSObject*> uses;
    for (int i = 0; i < 256; ++i)
        uses.push_back(blocks[i % 64]);
    Ref<NSDictionary> shared =
        dictionaryOf({{"blocks", NSArray::arrayWithObjects(uses.data(), uses.size())}});
    ASSERT_TRUE(shared->writeToFile(NSString::string(path), true));
    EXPECT_LE(std::filesystem::file_size(path), kPropertyListMaxBytes);
    EXPECT_TRUE(NSDictionary::dictionaryWithContentsOfFile(NSString::string(path)));
    for (int i = 64; i < 256; ++i)
        uses[i] = blocks.emplace_back(NSData::data(std::string(64 * 1024, static_cast<char>(i))));
    std::string before = readText(path);
    EXPECT_FALSE(dictionaryOf({{"b", NSArray::arrayWithObjects(uses.data(), uses.size())}})
                     ->writeToFile(NSString::string(path), true)); // 16 MiB in any format
    EXPECT_EQ(readText(path), before);
}

TEST_F(PropertyListFileTest, ValuesThatAreNoPropertyListAreRefusedAndTheFileStays) {
    std::string path = (root_ / "kept.plist").string();
    ASSERT_TRUE(dictionaryOf({{"a", NSNumber::numberWithInt(1)}})
                    ->writeToFile(NSString::string(path), true));
    std::string before = readText(path);
    for (Ref<NSObject> bad :
         {Ref<NSObject>::adopt(alloc<NSObject>()), Ref<NSObject>(NSString::string("bad \xC3")),
          Ref<NSObject>(NSString::string("\xED\xA0\x80"))}) {
        EXPECT_FALSE(propertyListCopy(bad).problem().empty());
        EXPECT_FALSE(dictionaryOf({{"a", bad}})->writeToFile(NSString::string(path), true));
        EXPECT_EQ(readText(path), before);
    }
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"kept.plist"});
}

TEST_F(PropertyListFileTest, FilesThatAreNoDictionaryReadAsNil) {
    std::string path = (root_ / "list.plist").string();
    writeText(path, "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><true/></array></plist>");
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(NSString::string(path)));
    EXPECT_FALSE(NSMutableDictionary::dictionaryWithContentsOfFile(NSString::string(path)));
    EXPECT_FALSE(
        NSDictionary::dictionaryWithContentsOfFile(NSString::string((root_ / "missing").string())));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(NSString::string(root_.string())));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(nullptr));
}

// Inputs the fuzzers found to crash or hang a reader once; each must now be
// read or refused, and what is read must write and read back.
TEST(PropertyList, InputsThatOnceCrashedTheReaderAreHandled) {
    std::filesystem::path folder = sourceDir() / "tests/platform/Foundation/hostile";
    Ref<NSString> withNulText = as<NSString>(parse(readText(folder / "string-with-nul.bplist")));
    ASSERT_TRUE(withNulText);
    EXPECT_NE(withNulText->utf8().find('\0'), std::string::npos);
    EXPECT_TRUE(objectsEqual(roundTrip(withNulText, true), withNulText));
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (Ref<NSObject> value = parse(readText(entry.path()))) {
            Result<std::string> bytes = binaryPropertyList(value);
            EXPECT_TRUE(bytes && parse(*bytes)) << entry.path();
        }
}
