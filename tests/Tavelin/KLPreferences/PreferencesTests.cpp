#include <cctype>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

namespace {

class Preferences : public fixtures::CellTest {
  protected:
    void SetUp() override {
        CellTest::SetUp();
        setting = CellTest::setting("PrefKey", NSNumber::numberWithBool(false));
        first = KLPSection::sectionWithTitle("Head"_ns, "Foot"_ns);
        plain = KLPCell::cellWithTitle("Plain"_ns, setting);
        tall = KLPCell::cellWithTitle("Tall"_ns, nullptr);
        tall->setHeight(70);
        first->addCells(NSArray::arrayWithObjects({plain.get(), tall.get()}));
        controller = KLPreferences::tableWithSections(
            NSArray::arrayWithObjects({first.get(), empty.get()}), "Tavelin"_ns, accent);
    }
    UITableView* table() { return controller->tableView(); }
    static Ref<NSIndexPath> path(long row, long section) {
        return NSIndexPath::indexPathForRow(row, section);
    }

    Ref<UIColor> accent = UIColor::colorWithRed(209 / 255.0f, 59 / 255.0f, 87 / 255.0f, 1);
    Ref<KLPSettings> setting;
    Ref<KLPSection> first, empty = KLPSection::sectionWithTitle(nullptr, "Only footer"_ns);
    Ref<KLPCell> plain, tall;
    Ref<KLPreferences> controller;
};

} // namespace

TEST_F(Preferences, ShowsSectionsAndTheClientsOwnCellsAndAnswersNilOutOfRange) {
    Ref<KLPViewSection> banner = KLPViewSection::sectionWithHeight(
        70, [](UITableViewCell* cell) { cell->textLabel()->setText("Banner"_ns); }, nullptr);
    Ref<KLPreferences> screen = KLPreferences::tableWithSections(
        NSArray::arrayWithObjects({banner.get(), first.get(), empty.get()}), "Tavelin"_ns, accent);
    navigation = UINavigationController::navigationControllerWithRootViewController(
        make<UIViewController>(&UIViewController::init));
    navigation->topViewController()->setTitle("Settings"_ns);
    navigation->pushViewController(screen, false);
    EXPECT_EQ(screenText(navigation)->utf8(), "< Settings | Tavelin | \n\n  Banner\n\n== Head ==\n"
                                              "  Plain\n  Tall\n    Foot\n\n    Only footer\n");
    EXPECT_FALSE(controller->cellForIndexPath(path(5, 0)));
    EXPECT_FALSE(controller->cellForIndexPath(path(0, 9)));
    Ref<KLPreferences> none = KLPreferences::tableWithSections(NSArray::array(), nullptr, nullptr);
    EXPECT_EQ(none->tableView()->numberOfSections(), 0);
}

TEST_F(Preferences, RowHeightsComeFromTheCellsWithAutomaticForZeroOrLess) {
    for (int height : {0, -5}) {
        plain->setHeight(height);
        EXPECT_DOUBLE_EQ(send<CGFloat>(controller, "tableView:heightForRowAtIndexPath:"_sel,
                                       table(), path(0, 0).get()),
                         UITableViewAutomaticDimension);
    }
    table()->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(plain->frame().size.height, 44);
    EXPECT_DOUBLE_EQ(tall->frame().size.height, 70);
}

TEST_F(Preferences, ColoursAndTheSettingsFileReachCellsAndSectionsWhenTheScreenAppears) {
    setting->setFileSave("/kept.plist"_ns);
    EXPECT_FALSE(plain->tintUIColor());
    controller->setPlistPath(""_ns);
    send(controller, "viewWillAppear:"_sel, false);
    for (UIColor* tint :
         {plain->tintUIColor(), tall->tintUIColor(), first->tintUIColor(), empty->tintUIColor(),
          controller->view()->tintColor(), table()->tintColor()})
        EXPECT_EQ(tint, accent.get());
    EXPECT_EQ(text(setting->fileSave()), "/kept.plist") << "an empty path is no path";
    controller->setTintUIColor(nullptr);
    controller->setPlistPath("/prefs.plist"_ns);
    empty->setCells(nullptr);
    controller->updateTintColors();
    EXPECT_FALSE(plain->tintUIColor());
    EXPECT_FALSE(table()->tintColor());
    EXPECT_EQ(text(setting->fileSave()), "/prefs.plist");
}

TEST_F(Preferences, ReturningClearsTheSelectionAndAnAbandonedReturnRestoresIt) {
    navigation = UINavigationController::navigationControllerWithRootViewController(
        make<UIViewController>(&UIViewController::init));
    navigation->pushViewController(controller, true);
    Ref<UIViewController> above = make<UIViewController>(&UIViewController::init);
    uikit_support::DeselectCalls deselects;
    uikit_support::CallRecorder<NSIndexPath*, bool, long> selects(
        UITableView::objcClass(), "selectRowAtIndexPath:animated:scrollPosition:"_sel);
    table()->tapRowAtIndexPath(path(1, 0));
    navigation->pushViewController(above, true);
    navigation->popViewControllerAnimated(true);
    EXPECT_FALSE(table()->indexPathForSelectedRow());
    EXPECT_TRUE(lastAnimated(deselects));
    table()->tapRowAtIndexPath(path(1, 0));
    navigation->pushViewController(above, false);
    ASSERT_TRUE(navigation->beginInteractivePop());
    EXPECT_FALSE(table()->indexPathForSelectedRow());
    ASSERT_TRUE(navigation->cancelInteractivePop());
    EXPECT_TRUE(objectsEqual(table()->indexPathForSelectedRow(), path(1, 0)));
    EXPECT_TRUE(lastAnimated(selects));
    EXPECT_EQ(std::get<3>(selects.calls.back()), UITableViewScrollPositionNone);
    ASSERT_TRUE(navigation->beginInteractivePop());
    ASSERT_TRUE(navigation->finishInteractivePop());
    EXPECT_FALSE(table()->indexPathForSelectedRow());
}

TEST_F(Preferences, APoppedScreenFreesItsSectionsAndCells) {
    long before = liveObjects<KLPCell>();
    navigation = UINavigationController::navigationControllerWithRootViewController(
        make<UIViewController>(&UIViewController::init));
    navigation->pushViewController(show({KLPCell::cellWithTitle("x"_ns, nullptr)}), true);
    static_cast<KLPreferences*>(navigation->topViewController())
        ->tableView()
        ->tapRowAtIndexPath(row(0));
    navigation->pushViewController(make<UIViewController>(&UIViewController::init), false);
    navigation->beginInteractivePop(); // the screen registers a block that holds it
    navigation->cancelInteractivePop();
    navigation->popViewControllerAnimated(true);
    navigation->popViewControllerAnimated(true);
    EXPECT_EQ(liveObjects<KLPreferences>(), 1); // the fixture's own
    EXPECT_EQ(liveObjects<KLPCell>(), before);
}

namespace {

// A subclass that keeps its own row height and tint, whatever it is given.
struct FixedSwitchCell : KLPSwitchCell {
    OBJC_CLASS(FixedSwitchCell, KLPSwitchCell)
    OBJC_OVERRIDE(int, height, "height")
    OBJC_OVERRIDE(void, setTintUIColor, "setTintUIColor:", UIColor*)
};

const SEL kSwitchFactory = sel_registerName("cellWithTitle:setting:postNotification:changeBlock:");

} // namespace

int FixedSwitchCell::heightImp() {
    return 90;
}

void FixedSwitchCell::setTintUIColorImp(UIColor*) {
    sendSuper(this, Super::objcClass(), "setTintUIColor:"_sel,
              static_cast<UIColor*>(UIColor::whiteColor()));
}

const ClassInfo& FixedSwitchCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<FixedSwitchCell>().build();
    return info;
}

TEST_F(Preferences, AnOverriddenAccessorChangesWhatTheTableShows) {
    Ref<KLPSwitchCell> fixed =
        send<Ref<KLPSwitchCell>>(FixedSwitchCell::objcClass(), kSwitchFactory, "Fixed"_ns,
                                 setting.get(), "N"_ns, KLPCell::ValueChangedBlock{});
    Ref<KLPreferences> screen = show({fixed});
    screen->setTintUIColor(accent);
    send(screen, "viewWillAppear:"_sel, false);
    fixed->setNeedsLayout();
    fixed->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(fixed->frame().size.height, 90);
    EXPECT_TRUE(objectsEqual(fixed->switchView()->onTintColor(), UIColor::whiteColor()));
}

TEST_F(Preferences, CellsAnswerForEveryPropertyAccessor) {
    Ref<KLPSliderCell> cell = KLPSliderCell::cellWithTitle("S"_ns, nullptr, 0, 1, nullptr, nullptr);
    for (std::string name :
         {"tintUIColor", "setting", "title", "postNotification", "valueChanged", "height",
          "sliderCell", "lLabel", "rLabel", "cLabel", "vLabel", "min", "max"}) {
        std::string setter = "set" + name + ":";
        setter[3] = static_cast<char>(std::toupper(setter[3]));
        EXPECT_TRUE(cell->respondsToSelector(sel_registerName(name.c_str()))) << name;
        EXPECT_TRUE(cell->respondsToSelector(sel_registerName(setter.c_str()))) << setter;
    }
    EXPECT_FALSE(cell->respondsToSelector("setNoSuchProperty:"_sel));
}
