#include <plist/plist.h>

#include "host/FilterList.h"
#include "tests/host/TestRoot.h"

namespace {

const HostIdentity kHost{.bundles = {"com.burbn.instagram", "com.apple.UIKit"},
                         .executable = "Instagram",
                         .coreFoundationVersion = 1946.1,
                         .hasClass = [](const std::string& name) { return name == "IGPost"; }};

std::string strings(const char* key, std::initializer_list<const char*> items) {
    std::string xml = std::string("<key>") + key + "</key><array>";
    for (const char* item : items)
        xml += std::string("<string>") + item + "</string>";
    return xml + "</array>";
}

std::string versions(const char* numbers) {
    return std::string("<key>CoreFoundationVersion</key><array>") + numbers + "</array>";
}

const std::string kAny = "<key>Mode</key><string>Any</string>";

// The same list as a binary property list, through libplist.
std::string binaryOf(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    std::string binary(bytes, length);
    free(bytes);
    plist_free(root);
    return binary;
}

TEST(FilterList, EachKindAndModeDecideInXMLAndBinary) {
    struct Case {
        std::string filters;
        bool load;
        const char* why;
    } cases[] = {
        {strings("Bundles", {"com.apple.springboard", "com.burbn.instagram"}), true,
         "bundle com.burbn.instagram"},
        {strings("Bundles", {"com.apple.UIKit"}), true, "bundle com.apple.UIKit"},
        {strings("Bundles", {"com.apple.springboard"}), false,
         "Bundles (com.apple.springboard) names no bundle of this process "
         "(com.burbn.instagram, com.apple.UIKit)"},
        {strings("Executables", {"Instagram"}), true, "executable Instagram"},
        {strings("Executables", {"SpringBoard"}), false,
         "Executables (SpringBoard) names no executable of this process (Instagram)"},
        {strings("Classes", {"Nope", "IGPost"}), true, "class IGPost"},
        {strings("Classes", {"Nope"}), false, "none of Classes (Nope) exists in this process"},
        {versions("<real>1900</real>"), true,
         "CoreFoundation 1946.1 in CoreFoundationVersion [1900, ...)"},
        {versions("<integer>1900</integer><real>1946.1</real>"), false,
         "CoreFoundation 1946.1 is outside CoreFoundationVersion [1900, 1946.1)"},
        {versions("<real>1946.1</real><integer>2000</integer>"), true,
         "CoreFoundation 1946.1 in CoreFoundationVersion [1946.1, 2000)"},
        // Every listed kind must match, unless Mode is Any.
        {strings("Bundles", {"com.burbn.instagram"}) + strings("Executables", {"SpringBoard"}),
         false, "Executables (SpringBoard) names no executable of this process (Instagram)"},
        {strings("Bundles", {"com.burbn.instagram"}) + strings("Executables", {"SpringBoard"}) +
             kAny,
         true, "bundle com.burbn.instagram"},
        {strings("Bundles", {"a"}) + strings("Classes", {"B"}) + kAny, false,
         "Bundles (a) names no bundle of this process (com.burbn.instagram, com.apple.UIKit); "
         "none of Classes (B) exists in this process"},
        {strings("Bundles", {"com.burbn.instagram"}) + strings("Classes", {"IGPost"}) +
             "<key>Mode</key><string>All</string>",
         true, "bundle com.burbn.instagram; class IGPost"},
    };
    TestRoot root;
    for (const Case& c : cases)
        for (const std::string& contents :
             {TestRoot::filterList(c.filters), binaryOf(TestRoot::filterList(c.filters))}) {
            auto list = readFilterList(root.write("list.plist", contents));
            ASSERT_TRUE(list) << c.filters << ": " << list.problem();
            FilterDecision decision = decide(*list, kHost);
            EXPECT_EQ(decision.load, c.load) << c.filters;
            EXPECT_EQ(decision.why, c.why) << c.filters;
        }
}

TEST(FilterList, BadListsSayWhatIsWrong) {
    const std::string top = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    const std::pair<std::string, const char*> cases[] = {
        {"not a property list", "cannot be read as a property list whose top is a dictionary"},
        {top + "<array/></plist>", "cannot be read as a property list whose top is a dictionary"},
        {top + "<dict/></plist>", "has no Filter dictionary at its top"},
        {top + "<dict><key>Filter</key><string>x</string></dict></plist>",
         "has no Filter dictionary at its top"},
        {TestRoot::filterList(""), "names no filter: give Filter one of Bundles, Executables, "
                                   "Classes, CoreFoundationVersion"},
        {TestRoot::filterList(kAny + "<key>Bundle</key><string>x</string>"),
         "names no filter: give Filter one of Bundles, Executables, Classes, "
         "CoreFoundationVersion"},
        {TestRoot::filterList("<key>Bundles</key><string>com.burbn.instagram</string>"),
         "Bundles is not a list of strings"},
        {TestRoot::filterList("<key>Classes</key><array><integer>1</integer></array>"),
         "Classes is not a list of strings"},
        {TestRoot::filterList(versions("<integer>2000</integer><integer>1900</integer>")),
         "CoreFoundationVersion (2000, 1900) is reversed: its end must be above its lowest "
         "version"},
        {TestRoot::filterList(versions("")), "CoreFoundationVersion takes one or two numbers"},
        {TestRoot::filterList(versions("<true/>")),
         "CoreFoundationVersion takes one or two numbers"},
        {TestRoot::filterList(versions("<real>1</real><real>2</real><real>3</real>")),
         "CoreFoundationVersion takes one or two numbers"},
        {TestRoot::filterList(strings("Bundles", {"a"}) + "<key>Mode</key><true/>"),
         "Mode is not a string (\"Any\", or leave it out)"},
    };
    TestRoot root;
    for (const auto& [contents, expected] : cases) {
        auto list = readFilterList(root.write("list.plist", contents));
        ASSERT_FALSE(list) << contents;
        EXPECT_EQ(list.problem().rfind(expected, 0), 0u) << contents << "\n" << list.problem();
    }
    std::filesystem::create_directory(root.path() + "/folder.plist");
    EXPECT_EQ(readFilterList(root.path() + "/folder.plist").problem(), "is not a regular file");
}

} // namespace
