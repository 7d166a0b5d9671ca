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

TEST_F(Devices, NamesAndSizesFindTheirDevicesAndAnyOtherSizeIsAPlainScreen) {
    for (auto [name, found] : {std::pair{"iphone se 3rd generation", "iPhone SE (3rd generation)"},
                               {"iphone-15", "iPhone 15"},
                               {"IPHONE 15 PRO MAX", "iPhone 15 Pro Max"}}) {
        ASSERT_TRUE(deviceNamed(name)) << name;
        EXPECT_EQ(deviceNamed(name)->name, found);
    }
    for (const char* unknown : {"iPhone 99", "", "15", "iPhone 15 Pro"})
        EXPECT_FALSE(deviceNamed(unknown)) << unknown;
    EXPECT_EQ(deviceNamed("iPhone 15 Pro Max")->cutout, ScreenCutout::DynamicIsland);
    EXPECT_EQ(deviceNames(), "iPhone SE (3rd generation), iPhone 14, iPhone 15, iPhone 15 Pro Max");
    // A size takes its device's features; any other is a plain screen.
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

TEST_F(Devices, SemanticColoursResolvePerAppearanceAndExplicitOnesStayAsGiven) {
    using Message = Ref<UIColor> (*)();
    const std::tuple<Message, uint32_t, uint32_t> cases[] = {
        // 0xRRGGBBAA, light and dark
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
    Ref<UITraitCollection> darkTraits =
        UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleDark);
    for (auto [color, light, dark] : cases) {
        EXPECT_EQ(packed(color()->components()), light);
        EXPECT_EQ(packed(color()->resolvedColorWithTraitCollection(darkTraits)->components()),
                  dark);
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

NavigationBarLayout bar(const char* title, const char* back, CGFloat right = 0) {
    return layoutNavigationBar({.width = 375,
                                .title = title,
                                .back = back != nullptr,
                                .backTitle = back ? back : "",
                                .rightWidth = right});
}

TEST_F(Devices, TextsThatDoNotFitInCellsAndBarsAreCutInTheirOrder) {
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {"Language", "English", false, false},
        {"Navro", "@navrokelmasuti, who also has a much longer handle", false, true},
        {"A title so long that it could never fit in a single row", "On", true, false},
        {kArabicTitle, "English", false, false},
    };
    for (auto [text, detailText, titleCut, detailCut] : cases) {
        Ref<UITableViewCell> row = valueRow(text, detailText);
        CGRect title = row->textLabel()->frame(), detail = row->detailTextLabel()->frame();
        EXPECT_EQ(title.origin.x, 15) << text;
        EXPECT_EQ(title.size.width < row->textLabel()->intrinsicContentSize().width, titleCut);
        EXPECT_EQ(detail.size.width < row->detailTextLabel()->intrinsicContentSize().width,
                  detailCut)
            << text;
        EXPECT_DOUBLE_EQ(CGRectGetMaxX(detail), 343 - 15) << text;
        EXPECT_LE(CGRectGetMaxX(title), detail.origin.x) << text;
    }
    EXPECT_GT(valueRow(kArabicTitle, "x")->textLabel()->frame().size.width, 60)
        << "right-to-left text is measured as shaped";
    // Back titles are full, then "Back", then none; titles are cut last.
    const std::tuple<const char*, const char*, CGFloat, const char*, bool> bars[] = {
        {"Tavelin", "Settings", 28, "Settings", false},
        {"Gallery", "Instagram", 0, "Instagram", false},
        {"Tavelin", "A Previous Screen With A Long Name", 28, "Back", false},
        {"Preferences of this library on phones", "Settings", 0, "", false},
        {"A title far too long for any navigation bar on this phone", "Settings", 28, "", true},
        {"Tavelin", "", 0, "Back", false},
    };
    for (auto [title, back, right, shown, titleCut] : bars) {
        NavigationBarLayout layout = bar(title, back, right);
        EXPECT_EQ(layout.backText, shown) << title;
        EXPECT_EQ(layout.title.size.width < textSize(title, barTitleStyle(), 0).width, titleCut)
            << title;
        EXPECT_GE(layout.title.origin.x, kBackTextX) << title;
        EXPECT_LE(CGRectGetMaxX(layout.title), 375 - 16 - right) << title;
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
