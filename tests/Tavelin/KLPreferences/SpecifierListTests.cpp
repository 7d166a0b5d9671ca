#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSpecifierList.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

namespace {

// The text in UTF-16 of the byte order, after a byte-order mark.
std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string out;
    for (char16_t unit : u'\uFEFF' + text) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

// One specifier, the class of the row it makes, and its warning (none for a
// row built as declared); a group comes first, so the first case is item 2.
struct SpecifierCase {
    std::string item;
    const char* rowClass;
    std::string warning;
};

// Property-list text of specifiers, and one list of every kind of specifier.
class SpecifierList : public fixtures::CellTest {
  protected:
    static std::string item(const std::string& body) { return "<dict>" + body + "</dict>"; }
    static std::string str(const std::string& text) { return "<string>" + text + "</string>"; }
    static std::string entry(const char* key, const std::string& value) {
        return std::string("<key>") + key + "</key>" + value;
    }
    static std::string cell(const char* type, const char* label) {
        return entry("cell", str(type)) + entry("label", str(label));
    }
    static std::string bound(const char* type, const char* label, const char* key) {
        return cell(type, label) + entry("key", str(key));
    }
    static std::string strings(const std::vector<std::string>& texts) {
        std::string out = "<array>";
        for (const std::string& text : texts)
            out += str(text);
        return out + "</array>";
    }
    static const std::vector<SpecifierCase>& specifierCases() {
        static const std::vector<SpecifierCase> cases = {
            {item(bound("PSSwitchCell", "Switch", "sw") + entry("default", "<true/>") +
                  entry("PostNotification", str("com.example/changed"))),
             "KLPSwitchCell", ""},
            {item(bound("PSSliderCell", "Slider", "sl") + entry("min", "<integer>1</integer>") +
                  entry("max", "<real>9</real>") + entry("showValue", "<false/>")),
             "KLPSliderCell", ""},
            {item(bound("PSSegmentCell", "Segment", "sg") +
                  entry("validValues", strings({"a", "b"})) +
                  entry("validTitles", strings({"A", "B"}))),
             "KLPSegmentCell", ""},
            {item(bound("PSEditTextCell", "Edit", "ed") + entry("placeholder", str("name"))),
             "KLPTextFieldCell", ""},
            {item(bound("PSLinkListCell", "List", "ls") +
                  entry("validValues", strings({"x", "y"}))),
             "KLPListCell", ""},
            {item(bound("PSTitleValueCell", "Value", "tv") + entry("default", str("shown"))),
             "KLPValueCell", ""},
            {item(cell("PSButtonCell", "Button")), "KLPLinkCell", ""},
            {item(cell("PSLinkCell", "Inline") + entry("items", "<array/>")), "KLPLinkCell", ""},
            {item(cell("PSStaticTextCell", "Static")), "KLPCell", ""},
            {str("loose"), "KLPValueCell", "item 11: the item is not a dictionary"},
            {item(cell("PSFooCell", "Foo")), "KLPValueCell",
             "item 12: unknown cell type PSFooCell"},
            {item(entry("label", str("No type"))), "KLPValueCell", "item 13: cell is missing"},
            {item(cell("PSSwitchCell", "No key")), "KLPValueCell",
             "item 14: a control needs a key"},
            {item(bound("PSSwitchCell", "Extra", "ex") + entry("colour", str("red"))),
             "KLPValueCell", "item 15: unknown key colour"},
            {item(bound("PSSwitchCell", "Typed", "ty") + entry("PostNotification", "<true/>")),
             "KLPValueCell", "item 16: PostNotification is not a string"},
            {item(bound("PSSegmentCell", "Uneven", "un") +
                  entry("validValues", strings({"a", "b"})) + entry("validTitles", strings({"A"}))),
             "KLPValueCell", "item 17: validValues and validTitles differ in length"},
            {item(bound("PSSliderCell", "Backwards", "bw") + entry("min", "<real>5</real>") +
                  entry("max", "<real>1</real>")),
             "KLPValueCell", "item 18: min is above max"},
            {item(cell("PSLinkCell", "Nowhere") + entry("detail", str("Missing"))), "KLPValueCell",
             "item 19: detail \"Missing\" names no file"},
            {item(cell("PSLinkCell", "Bare")), "KLPValueCell",
             "item 20: a link needs a detail, items, a url or a PostNotification"},
            {item(bound("PSSwitchCell", "Domain", "dm") + entry("defaults", str("../x"))),
             "KLPValueCell", "item 21: defaults \"../x\" names no domain"},
            {item(bound("PSLinkListCell", "Stays", "st") + entry("validValues", strings({"x"})) +
                  entry("popViewOnSelect", "<false/>")),
             "KLPListCell", ""},
            {item(cell("PSTitleValueCell", "Fixed") + entry("default", str("1.0"))), "KLPValueCell",
             ""},
            {item(cell("PSLinkCell", "Tap") + entry("PostNotification", str("com.example/tap"))),
             "KLPLinkCell", ""},
            {item(cell("PSLinkCell", "Site") + entry("url", str("https://example.com")) +
                  entry("subtitle", str("About"))),
             "KLPDeveloperCell", ""},
            // Last: a banner is a section of its own.
            {item(entry("cell", str("PSGroupCell")) + entry("headerText", str("Banner")) +
                  entry("height", "<integer>60</integer>")),
             "KLPViewCell", ""},
        };
        return cases;
    }
    std::string write(const char* name, const std::string& root) {
        std::ofstream(root_ / name) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                    << "<plist version=\"1.0\">" << root << "</plist>";
        return (root_ / name).string();
    }
    std::string writeList(const char* name, const std::vector<std::string>& items) {
        std::string body;
        for (const std::string& one : items)
            body += one;
        return write(name, item(entry("items", "<array>" + body + "</array>")));
    }
};

} // namespace

TEST_F(SpecifierList, EachSpecifierBecomesItsCellOrAPlainRowWithAWarning) {
    const std::vector<SpecifierCase>& cases = specifierCases();
    std::vector<std::string> items = {
        item(cell("PSGroupCell", "Group") + entry("footerText", str("Below")))};
    std::vector<std::string> expected;
    for (const SpecifierCase& one : cases) {
        items.push_back(one.item);
        if (!one.warning.empty())
            expected.push_back("List.plist: " + one.warning + "; shown as a plain row");
    }
    KLPSpecifierList list = KLPSpecifierListFromFile(writeList("List.plist", items));
    ASSERT_TRUE(list.controller) << list.error;
    EXPECT_EQ(list.warnings, expected);
    ASSERT_EQ(list.controller->sections()->count(), 2u);
    auto* group = static_cast<KLPSection*>(list.controller->sections()->objectAtIndex(0));
    EXPECT_EQ(group->headerTitle()->utf8(), "Group");
    EXPECT_EQ(group->footerTitle()->utf8(), "Below");
    std::vector<KLPCell*> made = rows(list.controller);
    ASSERT_EQ(made.size(), cases.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_STREQ(object_getClassName(made[i]), cases[i].rowClass) << i;
        if (!cases[i].warning.empty()) {
            EXPECT_NE(cases[i].warning.find(made[i]->detailTextLabel()->text()->utf8()),
                      std::string::npos);
        }
    }
    auto* toggle = as<KLPSwitchCell>(made[0]);
    EXPECT_TRUE(toggle->switchView()->isOn()) << "the default shows";
    EXPECT_EQ(toggle->postNotification()->utf8(), "com.example/changed");
    auto* slider = as<KLPSliderCell>(made[1]);
    EXPECT_EQ(slider->sliderCell()->maximumValue(), 9.0f);
    EXPECT_TRUE(slider->vLabel()->isHidden()) << "showValue NO hides the value";
    EXPECT_EQ(made[5]->detailTextLabel()->text()->utf8(), "shown");
    ASSERT_TRUE(as<KLPListCell>(made[20]));
    EXPECT_FALSE(as<KLPListCell>(made[20])->popView());
    EXPECT_EQ(made[21]->detailTextLabel()->text()->utf8(), "1.0") << "no key: the default";
    bool tapped = false;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        "com.example/tap"_ns, made[22], [&](NSNotification*) { tapped = true; });
    made[22]->didSelectFromTable(list.controller);
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_TRUE(tapped);
    EXPECT_EQ(made[24]->height(), 60);
}

TEST_F(SpecifierList, AListThatIsNoDictionaryOrHasNoItemsMakesNoScreen) {
    const std::pair<std::string, std::string> cases[] = {
        {item(entry("title", str("T"))), "Bad.plist: no items array"},
        {item(entry("items", str("x"))), "Bad.plist: no items array"},
        {"<array/>", "root is not a dictionary"},
    };
    for (const auto& [root, error] : cases) {
        KLPSpecifierList list = KLPSpecifierListFromFile(write("Bad.plist", root));
        EXPECT_FALSE(list.controller);
        EXPECT_NE(list.error.find(error), std::string::npos) << list.error;
    }
    EXPECT_NE(KLPSpecifierListFromFile((root_ / "None.plist").string()).error.find("no such file"),
              std::string::npos);
    EXPECT_EQ(KLPSpecifierListFromDictionary(nullptr, root_).error, "(list): not a dictionary");
}

TEST_F(SpecifierList, LinksOpenChildPanesRefuseCyclesAndDomainsGetTheirOwnFiles) {
    writeList("Child.plist", {item(bound("PSSwitchCell", "Deep", "deep") +
                                   entry("defaults", str("com.example.a"))),
                              item(cell("PSLinkCell", "Up") + entry("detail", str("Root.plist")))});
    std::string rootList =
        writeList("Root.plist", {item(cell("PSLinkCell", "Down") + entry("detail", str("Child")))});
    KLPSpecifierList list = KLPSpecifierListFromFile(rootList);
    ASSERT_TRUE(list.controller) << list.error;
    EXPECT_EQ(list.warnings, std::vector<std::string>{"Child.plist: item 2: detail \"Root.plist\" "
                                                      "is already open above this pane; shown as "
                                                      "a plain row"});
    navigation =
        UINavigationController::navigationControllerWithRootViewController(list.controller);
    rows(list.controller)[0]->didSelectFromTable(list.controller);
    auto* child = as<KLPreferences>(navigation->topViewController());
    ASSERT_TRUE(child);
    EXPECT_EQ(child->title()->utf8(), "Down") << "a list without a title takes the link's label";
    auto* deep = as<KLPSwitchCell>(rows(child)[0]);
    ASSERT_TRUE(deep);
    deep->switchView()->flip();
    Ref<NSDictionary> domain = NSDictionary::dictionaryWithContentsOfFile(
        NSString::string((preferences() / "com.example.a.plist").string()));
    ASSERT_TRUE(domain);
    EXPECT_TRUE(as<NSNumber>(domain->objectForKey("deep"_ns))->boolValue());
    EXPECT_FALSE(NSUserDefaults::standardUserDefaults()->objectForKey("deep"_ns))
        << "nothing of another domain in the host's own";
}

TEST_F(SpecifierList, TextsComeFromTheLanguagesStringsTableOrShowAsWritten) {
    std::string file =
        write("Tweak.plist",
              item(entry("title", str("Title")) +
                   entry("items",
                         "<array>" +
                             item(cell("PSGroupCell", "Head") + entry("footerText", str("Foot"))) +
                             item(cell("PSStaticTextCell", "Kept")) +
                             item(bound("PSLinkListCell", "Pick", "pick") +
                                  entry("validValues", strings({"v", "w"})) +
                                  entry("validTitles", strings({"Head", "W"}))) +
                             "</array>")));
    std::filesystem::create_directories(root_ / "ar.lproj");
    std::ofstream(root_ / "ar.lproj/Tweak.strings")
        << "/* Arabic */\n\"Title\" = \"العنوان\";\nHead = \"رأس\";\n\"Foot\" = \"تذييل\";\n";
    KLPSpecifierList arabic = KLPSpecifierListFromFile(file, "ar");
    ASSERT_TRUE(arabic.controller) << arabic.error;
    EXPECT_EQ(arabic.warnings, std::vector<std::string>{});
    EXPECT_EQ(arabic.controller->title()->utf8(), "العنوان");
    auto* section = static_cast<KLPSection*>(arabic.controller->sections()->objectAtIndex(0));
    EXPECT_EQ(section->headerTitle()->utf8(), "رأس");
    EXPECT_EQ(section->footerTitle()->utf8(), "تذييل");
    EXPECT_EQ(rows(arabic.controller)[0]->textLabel()->text()->utf8(), "Kept")
        << "not in the table";
    auto* list = static_cast<KLPListCell*>(rows(arabic.controller)[1]);
    EXPECT_TRUE(list->items()->isEqual(NSArray::arrayWithObjects({"رأس"_ns, "W"_ns})));
    EXPECT_TRUE(list->values()->isEqual(NSArray::arrayWithObjects({"v"_ns, "w"_ns})))
        << "the stored values are not translated";

    // UTF-16 as Xcode writes it, either byte order after a byte-order mark;
    // what cannot be read shows the texts as written, with one warning.
    struct Table {
        const char* language;
        std::string bytes;
        const char* title;
        std::size_t warnings;
    };
    const std::u16string translation = u"\"Title\" = \"Tĩtle 😀\";";
    std::filesystem::create_directories(root_ / "dir.lproj/Tweak.strings");
    for (const Table& table : {Table{"de", "\"Title\" = ", "Title", 1},
                               Table{"le", utf16(translation, false), "Tĩtle 😀", 0},
                               Table{"be", utf16(translation, true), "Tĩtle 😀", 0},
                               Table{"odd", "\xFF\xFE\x41", "Title", 1},
                               Table{"lone", std::string("\xFE\xFF\xD8\x00", 4), "Title", 1},
                               Table{"dir", "", "Title", 1}, Table{"fr", "", "Title", 0}}) {
        if (!table.bytes.empty()) {
            std::filesystem::create_directories(root_ / (std::string(table.language) + ".lproj"));
            std::ofstream(root_ / (std::string(table.language) + ".lproj/Tweak.strings"),
                          std::ios::binary)
                << table.bytes;
        }
        KLPSpecifierList list = KLPSpecifierListFromFile(file, table.language);
        ASSERT_EQ(list.warnings.size(), table.warnings) << table.language;
        for (const std::string& warning : list.warnings)
            EXPECT_EQ(warning.rfind("Tweak.strings: ", 0), 0u) << warning;
        EXPECT_EQ(list.controller->title()->utf8(), table.title) << table.language;
    }
}
