#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSelectListTable.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using uikit_support::DeselectCalls;

namespace {

class ListCell : public fixtures::CellTest {
  protected:
    Ref<KLPListCell> makeCell(Ref<NSArray> items, Ref<NSArray> values, bool pop) {
        return KLPListCell::cellWithTitle("Quality"_ns, setting, items, values, pop,
                                          "QualityChanged"_ns, record());
    }
    Ref<KLPListCell> fourChoices(bool pop) {
        return makeCell(strings({"Low", "Medium", "High", "Best"}),
                        strings({"low", "mid", "high", "best"}), pop);
    }
    // Taps the cell's row and answers the list that it opened, its view loaded.
    KLPSelectListTable* open(KLPreferences* table) {
        table->tableView()->tapRowAtIndexPath(row(0));
        UIViewController* shown =
            navigation ? navigation->topViewController() : table->presentedViewController();
        if (auto* wrapper = as<UINavigationController>(shown)) shown = wrapper->topViewController();
        auto* list = as<KLPSelectListTable>(shown);
        if (list) list->view();
        return list;
    }
    std::string shown() { return screenText(navigation)->utf8(); }

    Ref<KLPSettings> setting = CellTest::setting("quality");
};

} // namespace

TEST_F(ListCell, TheStoredValueShowsItsTextAndTheListChecksItsRowInTheCellsTint) {
    setting->setValue("high"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "High");
    Ref<KLPreferences> table = show({cell}, true);
    Ref<UIColor> accent = UIColor::colorWithRed(0.8, 0.2, 0.3, 1);
    table->setTintUIColor(accent);
    table->updateTintColors();
    DeselectCalls deselects;
    KLPSelectListTable* list = open(table);
    ASSERT_TRUE(list);
    for (UIColor* tint : {list->view()->tintColor(), list->tableView()->tintColor(),
                          navigation->navigationBar()->tintColor()})
        EXPECT_EQ(tint, accent.get());
    EXPECT_TRUE(lastAnimated(deselects));
    EXPECT_FALSE(table->tableView()->indexPathForSelectedRow());
    EXPECT_EQ(shown(), "< Prefs | Quality | \n\n  Low\n  Medium\n  High  ✓\n  Best\n");
}

TEST_F(ListCell, AListThatStaysOpenMovesItsCheckmarkEvenFromAnUnknownValue) {
    setting->setValue("ultra"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    EXPECT_FALSE(cell->detailTextLabel()->text());
    Ref<KLPreferences> table = show({cell}, true);
    KLPSelectListTable* list = open(table);
    EXPECT_EQ(shown(), "< Prefs | Quality | \n\n  Low\n  Medium\n  High\n  Best\n");
    DeselectCalls deselects;
    list->tableView()->tapRowAtIndexPath(row(2));
    list->tableView()->tapRowAtIndexPath(row(3));
    EXPECT_EQ(navigation->topViewController(), list);
    EXPECT_TRUE(lastAnimated(deselects));
    EXPECT_FALSE(list->tableView()->indexPathForSelectedRow());
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Best");
    EXPECT_EQ(events, (std::vector<std::string>{"block high", "post QualityChanged high",
                                                "block best", "post QualityChanged best"}));
    list->tableView()->reloadData();
    EXPECT_EQ(shown(), "< Prefs | Quality | \n\n  Low\n  Medium\n  High\n  Best  ✓\n");
}

TEST_F(ListCell, EqualDisplayTextsBothStoreTheFirstMatchingValue) {
    Ref<KLPListCell> cell = makeCell(strings({"A", "Same", "B", "Same"}),
                                     strings({"a", "same-1", "b", "same-3"}), false);
    setting->setValue("b"_ns);
    open(show({cell}, true))->tableView()->tapRowAtIndexPath(row(3));
    EXPECT_EQ(text(setting->value()), "same-1");
}

TEST_F(ListCell, APoppingListClosesRightAfterTheChangeRanAndEverythingIsFreed) {
    long listsBefore = liveObjects<KLPSelectListTable>();
    {
        Ref<KLPListCell> cell = KLPListCell::cellWithTitle(
            "Q"_ns, setting, strings({"Low", "High"}), strings({"low", "high"}), true, nullptr,
            [&](NSObject*) {
                events.push_back(object_getClassName(navigation->topViewController()));
            });
        Ref<KLPreferences> table = show({cell}, true);
        open(table)->tableView()->tapRowAtIndexPath(row(1));
        EXPECT_EQ(events, (std::vector<std::string>{"KLPSelectListTable", "post (nil) high"}));
        EXPECT_EQ(navigation->topViewController(), table.get());
        EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore);
        navigation = nullptr;
    }
    EXPECT_EQ(liveObjects<KLPListCell>(), 0);
    EXPECT_EQ(liveObjects<KLPreferences>(), 0);
}

// Without a navigation controller the list is presented with a Done button
// that dismisses it; a popping list is dismissed after a choice.
TEST_F(ListCell, WithoutANavigationControllerTheListIsPresented) {
    setting->setValue("mid"_ns);
    long listsBefore = liveObjects<KLPSelectListTable>();
    Ref<KLPListCell> cell = fourChoices(false);
    Ref<KLPreferences> table = show({cell});
    KLPSelectListTable* list = open(table);
    ASSERT_TRUE(list);
    EXPECT_EQ(screenText(table)->utf8(), "[Done] | Quality | \n\n"
                                         "  Low\n  Medium  ✓\n  High\n  Best\n");
    list->tableView()->tapRowAtIndexPath(row(0));
    EXPECT_TRUE(table->presentedViewController());
    EXPECT_TRUE(
        send<Ref<UINavigationItem>>(list, "navigationItem"_sel)->leftBarButtonItem()->tap());
    EXPECT_FALSE(table->presentedViewController());
    EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore);

    Ref<KLPreferences> other = show({fourChoices(true)});
    open(other)->tableView()->tapRowAtIndexPath(row(3));
    EXPECT_FALSE(other->presentedViewController());
    EXPECT_EQ(text(setting->value()), "best");
    EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore);
}

TEST_F(ListCell, ArraysOfDifferentLengthsAreCutToTheShorterOne) {
    setting->setValue("c"_ns);
    Ref<KLPListCell> moreValues = makeCell(strings({"A", "B"}), strings({"a", "b", "c"}), false);
    EXPECT_EQ(moreValues->values()->count(), 2u);
    EXPECT_FALSE(moreValues->detailTextLabel()->text());
    Ref<KLPListCell> moreItems = makeCell(strings({"A", "B", "C"}), strings({"a"}), false);
    EXPECT_EQ(open(show({moreItems}, true))->tableView()->numberOfRowsInSection(0), 1);
    EXPECT_EQ(makeCell(nullptr, strings({"a"}), false)->values()->count(), 0u);
}

TEST_F(ListCell, AChosenTextThatIsNoLongerAnItemStoresAndPostsNothing) {
    setting->setValue("low"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    KLPSelectListTable* list = open(show({cell}, true));
    cell->setItems(strings({"Other"}));
    list->tableView()->tapRowAtIndexPath(row(2));
    EXPECT_EQ(text(setting->value()), "low");
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Low");
    EXPECT_TRUE(events.empty());
}

TEST_F(ListCell, NoSettingAndNoItemsStillGiveAWorkingList) {
    Ref<KLPListCell> empty = KLPListCell::cellWithTitle("Empty"_ns, nullptr, NSArray::array(),
                                                        NSArray::array(), false, nullptr, nullptr);
    KLPSelectListTable* list = open(show({empty}, true));
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->tableView()->tapRowAtIndexPath(row(0)));
    Ref<KLPListCell> unbound = KLPListCell::cellWithTitle("Unbound"_ns, nullptr, strings({"X"}),
                                                          strings({"x"}), false, nullptr, nullptr);
    open(show({unbound}, true))->tableView()->tapRowAtIndexPath(row(0));
    EXPECT_EQ(events, std::vector<std::string>{"post (nil) x"});
}
