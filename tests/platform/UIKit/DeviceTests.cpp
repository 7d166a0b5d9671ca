// The device table, the appearance's colours, text that fits in cells and
// navigation bars, and the safe area that tables keep out of.
#include <cmath>

#include "Support.h"
#include "UIKit/NavigationBarLayout.h"

using namespace uikit_support;

namespace {

constexpr const char* kArabicTitle = "الإعدادات العامة";

class Devices : public ::testing::Test {
  protected:
    void SetUp() override {
        UIScreen::mainScreen()->setDevice(deviceModels().front());
        UIScreen::mainScreen()->setUserInterfaceStyle(UIUserInterfaceStyleLight);
    }
    void TearDown() override {
        SetUp();
        UITraitCollection::setCurrentTraitCollection(nullptr);
        UIView::setScreenRootView(nullptr);
    }
};

TEST_F(Devices, NamesFindTheirDevicesWhateverTheirCaseSpacesOrDashes) {
    const std::pair<const char*, const char*> cases[] = {
        {"iphone se 3rd generation", "iPhone SE (3rd generation)"},
        {"iphone-15", "iPhone 15"},
        {"IPHONE 15 PRO MAX", "iPhone 15 Pro Max"},
        {"iPhone 99", ""},
        {"", ""},
        {"15", ""},
        {"iPhone 15 Pro", ""}};
    for (auto [name, found] : cases) {
        const DeviceModel* device = deviceNamed(name);
        EXPECT_EQ(device ? std::string(device->name) : "", found) << name;
    }
    EXPECT_EQ(deviceNamed("iPhone 15 Pro Max")->cutout, ScreenCutout::DynamicIsland);
    EXPECT_EQ(deviceNames(), "iPhone SE (3rd generation), iPhone 14, iPhone 15, iPhone 15 Pro Max");
}

TEST_F(Devices, ASizeTakesItsDevicesFeaturesAndAnyOtherIsAPlainScreen) {
    UIScreen* screen = UIScreen::mainScreen();
    ASSERT_TRUE(screen->setSize({390, 844}));
    EXPECT_EQ(screen->device().cutout, ScreenCutout::Notch);
    EXPECT_EQ(screen->device().scale, 2) << "the scale stays the screen's";
    ASSERT_TRUE(screen->setSize({320, 480}));
    EXPECT_EQ(screen->device().cutout, ScreenCutout::None);
    EXPECT_EQ(screen->device().statusBarHeight, 20);
    EXPECT_EQ(screen->device().safeAreaInsets.bottom, 0);
    screen->setDevice(*deviceNamed("iPhone 15"));
    EXPECT_EQ(screen->bounds().size, CGSizeMake(393, 852));
    EXPECT_EQ(screen->scale(), 3);
    EXPECT_FALSE(screen->setUserInterfaceStyle(UIUserInterfaceStyleUnspecified));
    EXPECT_FALSE(screen->setUserInterfaceStyle(7));
    EXPECT_EQ(screen->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleLight);
}

using ColorMessage = Ref<UIColor> (*)();

TEST_F(Devices, SemanticColoursResolvePerAppearanceAndExplicitOnesStayAsGiven) {
    struct Case {
        ColorMessage color;
        uint32_t light, dark; // 0xRRGGBBAA
    };
    const Case cases[] = {
        {&UIColor::systemBackgroundColor, 0xffffffff, 0x000000ff},
        {&UIColor::systemGroupedBackgroundColor, 0xf2f2f7ff, 0x000000ff},
        {&UIColor::secondarySystemGroupedBackgroundColor, 0xffffffff, 0x1c1c1eff},
        {&UIColor::labelColor, 0x000000ff, 0xffffffff},
        {&UIColor::secondaryLabelColor, 0x3c3c4399, 0xebebf599},
        {&UIColor::separatorColor, 0x3c3c434a, 0x54545899},
        {&UIColor::systemBlueColor, 0x007affff, 0x0a84ffff},
        {&UIColor::systemGray4Color, 0xd1d1d6ff, 0x3a3a3cff},
    };
    auto packed = [](const UIColor::Components& c) {
        auto byte = [](CGFloat v) { return static_cast<uint32_t>(std::lround(v * 255)); };
        return byte(c.red) << 24 | byte(c.green) << 16 | byte(c.blue) << 8 | byte(c.alpha);
    };
    Ref<UITraitCollection> dark =
        UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleDark);
    for (const Case& c : cases) {
        EXPECT_EQ(packed(c.color()->components()), c.light);
        EXPECT_EQ(packed(c.color()->resolvedColorWithTraitCollection(dark)->components()), c.dark);
    }
    UIScreen::mainScreen()->setUserInterfaceStyle(UIUserInterfaceStyleDark);
    EXPECT_EQ(packed(UIColor::labelColor()->components()), 0xffffffffu) << "the screen's traits";
    EXPECT_EQ(packed(UIColor::colorWithRed(1, 0.5, 0, 1)->components()), 0xff8000ffu);
    UITraitCollection::setCurrentTraitCollection(
        UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleLight));
    EXPECT_EQ(packed(UIColor::labelColor()->components()), 0x000000ffu) << "the current traits";
    Ref<UIColor> none =
        UIColor::colorWithDynamicProvider([](UITraitCollection*) { return nullptr; });
    EXPECT_EQ(none->components().alpha, 0) << "a provider without a colour gives clear";
}

// A value1 row of a grouped table at the SE's width, laid out.
Ref<UITableViewCell> valueRow(const char* title, const char* detail) {
    Ref<UITableViewCell> row = cell(UITableViewCellStyleValue1, title, detail);
    row->setFrame(CGRectMake(0, 0, 343, 44));
    row->layoutIfNeeded();
    return row;
}

TEST_F(Devices, Value1TitlesTakeTheirTextsWidthAndTheDetailTheRestCutAtTheTail) {
    struct Case {
        const char* title;
        const char* detail;
        bool titleCut, detailCut;
    };
    const Case cases[] = {
        {"Language", "English", false, false},
        {"Navro", "@navrokelmasuti, who also has a much longer handle", false, true},
        {"A title so long that it could never fit in a single row", "On", true, false},
        {kArabicTitle, "English", false, false},
    };
    const CGFloat available = 343 - 2 * 15;
    for (const Case& c : cases) {
        Ref<UITableViewCell> row = valueRow(c.title, c.detail);
        UILabel* title = row->textLabel();
        UILabel* detail = row->detailTextLabel();
        CGFloat titleText = title->intrinsicContentSize().width;
        CGFloat detailText = detail->intrinsicContentSize().width;
        EXPECT_EQ(title->frame().origin.x, 15) << c.title;
        EXPECT_EQ(title->frame().size.width < titleText, c.titleCut) << c.title;
        EXPECT_EQ(detail->frame().size.width < detailText, c.detailCut) << c.title;
        EXPECT_DOUBLE_EQ(CGRectGetMaxX(detail->frame()), 15 + available) << c.title;
        EXPECT_LE(CGRectGetMaxX(title->frame()), detail->frame().origin.x) << c.title;
    }
    EXPECT_GT(valueRow(kArabicTitle, "x")->textLabel()->frame().size.width, 60)
        << "right-to-left text is measured as shaped";
}

NavigationBarLayout bar(const char* title, const char* back, CGFloat rightWidth = 0) {
    NavigationBarContent content;
    content.width = 375;
    content.title = title;
    content.back = back != nullptr;
    content.backTitle = back ? back : "";
    content.rightWidth = rightWidth;
    return layoutNavigationBar(content);
}

TEST_F(Devices, BackTitlesAreFullThenBackThenNoneAndTitlesCutLast) {
    struct Case {
        const char* title;
        const char* back;
        CGFloat right;
        const char* shown;
        bool titleCut;
    };
    const Case cases[] = {
        {"Tavelin", "Settings", 28, "Settings", false},
        {"Gallery", "Instagram", 0, "Instagram", false},
        {"Tavelin", "A Previous Screen With A Long Name", 28, "Back", false},
        {"Preferences of this library on phones", "Settings", 0, "", false},
        {"A title far too long for any navigation bar on this phone", "Settings", 28, "", true},
        {"Tavelin", "", 0, "Back", false},
    };
    for (const Case& c : cases) {
        NavigationBarLayout layout = bar(c.title, c.back, c.right);
        EXPECT_EQ(layout.backText, c.shown) << c.title;
        CGFloat full = textSize(c.title, barTitleStyle(), 0).width;
        EXPECT_EQ(layout.title.size.width < full, c.titleCut) << c.title;
        EXPECT_GE(layout.title.origin.x, kBackTextX) << c.title;
        EXPECT_LE(CGRectGetMaxX(layout.title), 375 - 16 - c.right) << c.title;
    }
    NavigationBarLayout centred = bar("Tavelin", "Settings");
    EXPECT_DOUBLE_EQ(centred.title.origin.x + centred.title.size.width / 2, 375 / 2.0);
    EXPECT_EQ(bar("Feed", nullptr).backText, "") << "no back button";
}

TEST_F(Devices, TablesKeepTheirRowsInsideTheSafeAreaWhileOnScreen) {
    UIScreen::mainScreen()->setDevice(*deviceNamed("iPhone 15"));
    Ref<SampleTable> controller = sampleTable("Safe");
    controller->sections.push_back({nullptr, nullptr, {cell(0, "One"), cell(0, "Two")}, {}});
    UITableView* table = controller->tableView();
    table->setFrame(CGRectMake(0, 0, 393, 852));
    table->layoutIfNeeded();
    EXPECT_EQ(table->safeAreaInsets(), UIEdgeInsetsZero) << "not on screen";
    CGFloat offScreen = table->tableLayout().sections[0].rows[0].origin.y;
    CGFloat offHeight = table->tableLayout().contentHeight;
    UIView::setScreenRootView(table);
    EXPECT_EQ(table->safeAreaInsets(), (UIEdgeInsets{59, 0, 34, 0}));
    table->setNeedsLayout();
    table->layoutIfNeeded();
    EXPECT_EQ(table->tableLayout().sections[0].rows[0].origin.y, offScreen + 59);
    EXPECT_EQ(table->tableLayout().contentHeight, offHeight + 59 + 34);
    UITableViewCell* second = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    EXPECT_EQ(second->safeAreaInsets(), UIEdgeInsetsZero) << "a row in the middle";
    table->setFrame(CGRectMake(0, 40, 393, 812));
    EXPECT_EQ(table->safeAreaInsets().top, 19);
    UIView::setScreenRootView(nullptr);
    EXPECT_EQ(table->safeAreaInsets(), UIEdgeInsetsZero);
}

} // namespace
