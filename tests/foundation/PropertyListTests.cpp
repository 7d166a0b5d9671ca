#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/PropertyList.h"
#include "tests/foundation/TempRoot.h"

using namespace testing_support;

namespace {

Ref<NSDictionary>
dictionaryOf(std::initializer_list<std::pair<const char*, Ref<NSObject>>> entries) {
    NSDictionary::Storage storage;
    for (const auto& [key, value] : entries)
        storage.emplace(key, value);
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
}

Ref<NSDictionary> everyKind() {
    const char bytes[] = {0, 1, 2, '\xff'};
    return dictionaryOf({
        {"yes", NSNumber::numberWithBool(true)},
        {"no", NSNumber::numberWithBool(false)},
        {"integer", NSNumber::numberWithLongLong(-9007199254740993LL)},
        {"float", NSNumber::numberWithFloat(0.1f)},
        {"double", NSNumber::numberWithDouble(0.1)},
        {"text", NSString::string("Ünïcödé ✓ 😀 <&> tab\tline\n")},
        {"empty", NSString::string("")},
        {"data", NSData::dataWithBytes(bytes, sizeof bytes)},
        {"date", NSDate::dateWithTimeIntervalSinceReferenceDate(700000000)},
        {"list", NSArray::arrayWithObjects({NSNumber::numberWithInt(1), NSString::string("two")})},
        {"nested", dictionaryOf({{"inner", NSNumber::numberWithBool(true)}})},
    });
}

Ref<NSObject> parse(std::string_view bytes) {
    std::string error;
    Ref<NSObject> result = propertyListFromBytes(bytes, error);
    EXPECT_EQ(result == nullptr, !error.empty()) << error;
    return result;
}

std::string nested(const char* open, const char* close, int depth) {
    std::string text = "<plist version=\"1.0\">";
    for (int i = 0; i < depth; ++i)
        text += open;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text + "</plist>";
}

class PropertyListFileTest : public TempRootTest {};

} // namespace

TEST_F(PropertyListFileTest, EveryKindSurvivesAWriteAndARead) {
    Ref<NSDictionary> original = everyKind();
    std::string path = (root_ / "every.plist").string();
    ASSERT_TRUE(original->writeToFile(NSString::string(path), true));
    Ref<NSDictionary> read = NSDictionary::dictionaryWithContentsOfFile(NSString::string(path));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count(), original->count());
    for (const auto& [key, value] : original->entries())
        EXPECT_TRUE(objectsEqual(read->objectForKey(key), value)) << key;
    EXPECT_EQ(as<NSNumber>(read->objectForKey("yes"))->kind(), NSNumber::Kind::Bool);
    EXPECT_EQ(as<NSNumber>(read->objectForKey("integer"))->kind(), NSNumber::Kind::Integer);
    EXPECT_FLOAT_EQ(as<NSNumber>(read->objectForKey("float"))->floatValue(), 0.1f);
    // Keys are sorted, so the same content always gives the same file.
    std::string first = readText(path);
    ASSERT_TRUE(read->writeToFile(NSString::string(path), true));
    EXPECT_EQ(readText(path), first);
    EXPECT_LT(first.find("<key>data</key>"), first.find("<key>yes</key>"));
}

TEST_F(PropertyListFileTest, PythonsPlistlibReadsWhatWeWriteWithTheSameValuesAndTypes) {
    if (run("python3 -c 'import plistlib' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 is not installed";
    std::string path = (root_ / "every.plist").string();
    ASSERT_TRUE(everyKind()->writeToFile(NSString::string(path), true));
    std::string script = root_ / "types.py";
    writeText(script, R"(import json, plistlib, sys, datetime
def kind(v):
    if isinstance(v, bool): return ['bool', v]
    if isinstance(v, int): return ['int', v]
    if isinstance(v, float): return ['real', v]
    if isinstance(v, str): return ['str', v]
    if isinstance(v, bytes): return ['data', v.hex()]
    if isinstance(v, datetime.datetime): return ['date', v.isoformat()]
    if isinstance(v, list): return [kind(x) for x in v]
    return {k: kind(x) for k, x in v.items()}
print(json.dumps(kind(plistlib.load(open(sys.argv[1], 'rb')))))
)");
    std::string out = (root_ / "types.json").string();
    ASSERT_EQ(run("python3 " + script + " " + path + " > " + out), 0);
    nlohmann::json expected = nlohmann::json::parse(R"({
        "yes": ["bool", true], "no": ["bool", false], "integer": ["int", -9007199254740993],
        "double": ["real", 0.1], "text": ["str", "Ünïcödé ✓ 😀 <&> tab\tline\n"],
        "empty": ["str", ""], "data": ["data", "000102ff"], "date": ["date", "2023-03-08T20:26:40"],
        "list": [["int", 1], ["str", "two"]], "nested": {"inner": ["bool", true]}})");
    expected["float"] = nlohmann::json::array({"real", static_cast<double>(0.1f)});
    EXPECT_EQ(nlohmann::json::parse(readText(out)), expected);
}

TEST_F(PropertyListFileTest, ValuesThatAreNoPropertyListAreRefusedAndTheFileStays) {
    std::string path = (root_ / "kept.plist").string();
    ASSERT_TRUE(dictionaryOf({{"a", NSNumber::numberWithInt(1)}})
                    ->writeToFile(NSString::string(path), true));
    std::string before = readText(path);
    for (Ref<NSObject> bad :
         {Ref<NSObject>::adopt(alloc<NSObject>()), Ref<NSObject>(NSString::string("bell\a")),
          Ref<NSObject>(NSString::string("cr\r")), Ref<NSObject>(NSString::string("bad \xC3")),
          Ref<NSObject>(NSString::string("\xED\xA0\x80")),
          Ref<NSObject>(NSDate::dateWithTimeIntervalSinceReferenceDate(1e12))}) {
        std::string error;
        EXPECT_FALSE(isPropertyList(bad, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(dictionaryOf({{"a", bad}})->writeToFile(NSString::string(path), true));
        EXPECT_EQ(readText(path), before);
    }
    EXPECT_FALSE(dictionaryOf({{"bad\x01key", NSNumber::numberWithInt(1)}})
                     ->writeToFile(NSString::string(path), true));
    EXPECT_EQ(readText(path), before);
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"kept.plist"});
}

TEST(PropertyList, ReadsXmlBinaryAndByteOrderMarks) {
    const char* xml = "<?xml version=\"1.0\"?><plist "
                      "version=\"1.0\"><dict><key>k</key><real>1.5</real></dict></plist>";
    Ref<NSDictionary> plain = as<NSDictionary>(parse(xml));
    ASSERT_TRUE(plain);
    EXPECT_DOUBLE_EQ(as<NSNumber>(plain->objectForKey("k"))->doubleValue(), 1.5);
    EXPECT_TRUE(as<NSDictionary>(parse(std::string("\xEF\xBB\xBF") + xml)));
    // A binary list: {"k": true}, as Apple writes it.
    const unsigned char binary[] = {
        'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xD1, 0x01, 0x02, 0x51, 'k', 0x09, 0x08, 0x0B, 0x0D,
        0,   0,   0,   0,   0,   0,   1,   1,   0,    0,    0,    0,    0,   0,    0,    3,    0,
        0,   0,   0,   0,   0,   0,   0,   0,   0,    0,    0,    0,    0,   0,    0x0E};
    Ref<NSDictionary> fromBinary =
        as<NSDictionary>(parse({reinterpret_cast<const char*>(binary), sizeof binary}));
    ASSERT_TRUE(fromBinary);
    EXPECT_TRUE(as<NSNumber>(fromBinary->objectForKey("k"))->boolValue());
}

TEST(PropertyList, HostileInputIsRefusedWithoutACrash) {
    EXPECT_FALSE(parse(""));
    EXPECT_FALSE(parse("\x00\x01\x02garbage"));
    EXPECT_FALSE(parse("<?xml version=\"1.0\"?><plist><dict><key>k</key><string>trunc"));
    EXPECT_FALSE(parse(nested("<array>", "</array>", 300000)));
    EXPECT_FALSE(parse(nested("<dict><key>k</key>", "</dict>", 1000)));
    EXPECT_TRUE(parse(nested("<array>", "</array>", 100)));
    EXPECT_TRUE(parse(nested("<array><array/>", "</array>", 100)));
    EXPECT_FALSE(parse(std::string(kPropertyListMaxBytes + 1, ' ')));
    std::string truncatedBinary = "bplist00\xD1\x01\x02";
    EXPECT_FALSE(parse(truncatedBinary));
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

// Inputs the fuzzer found to crash the reader once; each must now be read or refused.
TEST(PropertyList, InputsThatOnceCrashedTheReaderAreHandled) {
    const char* source = std::getenv("TAVELIN_SOURCE_DIR");
    ASSERT_TRUE(source) << "run through ctest, which sets TAVELIN_SOURCE_DIR";
    std::filesystem::path folder = std::filesystem::path(source) / "tests/foundation/hostile";
    Ref<NSString> withNulText = as<NSString>(parse(readText(folder / "string-with-nul.bplist")));
    ASSERT_TRUE(withNulText);
    EXPECT_NE(withNulText->utf8().find('\0'), std::string::npos);
    std::string error;
    EXPECT_FALSE(xmlPropertyList(withNulText, error)) << "a NUL inside text cannot go into XML";
    EXPECT_FALSE(parse(readText(folder / "key-with-nul.bplist")));
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        parse(readText(entry.path()));
}
