#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSelectListTable.h"
#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"
#include "tests/platform/UIKit/Support.h"

using fixtures::CellTest;
using fixtures::text;
using uikit_support::DeselectCalls;

namespace {

Ref<NSArray> strings(std::initializer_list<const char*> texts) {
    Ref<NSMutableArray> array = NSMutableArray::array();
    for (const char* text : texts)
        array->addObject(NSString::string(text));
    return array;
}

NSIndexPath* row(long r) {
    static Ref<NSIndexPath> paths[8];
    if (!paths[r]) paths[r] = NSIndexPath::indexPathForRow(r, 0);
    return paths[r];
}

class ListCell : public CellTest {
  protected:
    void SetUp() override {
        CellTest::SetUp();
        setting = KLPSettings::settingsWithKey("quality"_ns, nullptr);
    }

    Ref<KLPListCell> makeCell(Ref<NSArray> items, Ref<NSArray> values, bool pop,
                              KLPCell::ValueChangedBlock block = nullptr) {
        return KLPListCell::cellWithTitle("Quality"_ns, setting, items, values, pop,
                                          "QualityChanged"_ns, std::move(block));
    }
    Ref<KLPListCell> fourChoices(bool pop, KLPCell::ValueChangedBlock block = nullptr) {
        return makeCell(strings({"Low", "Medium", "High", "Best"}),
                        strings({"low", "mid", "high", "best"}), pop, std::move(block));
    }

    // Taps the cell's row and answers the list that it opened, with its view
    // loaded as showing it would.
    KLPSelectListTable* open(KLPreferences* table) {
        table->tableView()->tapRowAtIndexPath(row(0));
        UIViewController* shown =
            navigation ? navigation->topViewController() : table->presentedViewController();
        if (auto* wrapper = as<UINavigationController>(shown)) shown = wrapper->topViewController();
        auto* list = as<KLPSelectListTable>(shown);
        if (list) list->view();
        return list;
    }

    static std::vector<long> accessories(KLPSelectListTable* list) {
        std::vector<long> types;
        UITableView* table = list->tableView();
        for (long r = 0; r < table->numberOfRowsInSection(0); ++r)
            types.push_back(table->cellForRowAtIndexPath(row(r))->accessoryType());
        return types;
    }

    Ref<KLPSettings> setting;
};

constexpr long kNone = UITableViewCellAccessoryNone;
constexpr long kCheck = UITableViewCellAccessoryCheckmark;

} // namespace

TEST_F(ListCell, TheStoredThirdValueShowsItsTextAndTheListChecksTheThirdRowOnly) {
    setting->setValue("high"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "High");

    Ref<KLPreferences> table = showInTable(cell, true);
    DeselectCalls deselects;
    KLPSelectListTable* list = open(table);
    ASSERT_TRUE(list);
    EXPECT_TRUE(lastAnimated(deselects));
    EXPECT_FALSE(table->tableView()->indexPathForSelectedRow());
    EXPECT_EQ(text(list->title()), "Quality");
    EXPECT_EQ(list->tableView()->style(), UITableViewStyleGrouped);
    EXPECT_EQ(list->tableView()->numberOfSections(), 1);
    EXPECT_EQ(accessories(list), (std::vector<long>{kNone, kNone, kCheck, kNone}));
    EXPECT_EQ(screenText(navigation)->utf8(), "< Prefs | Quality | \n\n"
                                              "  Low\n  Medium\n  High  ✓\n  Best\n");
}

TEST_F(ListCell, AnUnknownStoredValueShowsNothingUntilAChoiceReplacesIt) {
    setting->setValue("ultra"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    EXPECT_FALSE(cell->detailTextLabel()->text());
    Ref<KLPreferences> table = showInTable(cell, true);
    KLPSelectListTable* list = open(table);
    EXPECT_EQ(accessories(list), (std::vector<long>(4, kNone)));

    list->tableView()->tapRowAtIndexPath(row(0));
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Low");
    EXPECT_EQ(text(setting->value()), "low");
    EXPECT_EQ(accessories(list), (std::vector<long>{kCheck, kNone, kNone, kNone}));
}

TEST_F(ListCell, EqualDisplayTextsBothStoreTheFirstMatchingValue) {
    Ref<KLPListCell> cell = makeCell(strings({"A", "Same", "B", "Same"}),
                                     strings({"a", "same-1", "b", "same-3"}), false);
    Ref<KLPreferences> table = showInTable(cell, true);
    for (long tapped : {3L, 1L}) {
        setting->setValue("b"_ns);
        open(table)->tableView()->tapRowAtIndexPath(row(tapped));
        EXPECT_EQ(text(setting->value()), "same-1") << "row " << tapped;
        EXPECT_EQ(text(cell->detailTextLabel()->text()), "Same");
        navigation->popViewControllerAnimated(false);
    }
}

TEST_F(ListCell, AListThatStaysOpenMovesItsCheckmarkAndKeepsItWhenRowsAreBuiltAgain) {
    setting->setValue("low"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    Ref<KLPreferences> table = showInTable(cell, true);
    KLPSelectListTable* list = open(table);
    DeselectCalls deselects;
    list->tableView()->tapRowAtIndexPath(row(3));
    EXPECT_EQ(navigation->topViewController(), list);
    EXPECT_TRUE(lastAnimated(deselects));
    EXPECT_FALSE(list->tableView()->indexPathForSelectedRow());
    EXPECT_EQ(accessories(list), (std::vector<long>{kNone, kNone, kNone, kCheck}));
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Best");

    list->tableView()->reloadData();
    EXPECT_EQ(accessories(list), (std::vector<long>{kNone, kNone, kNone, kCheck}));
}

TEST_F(ListCell, APoppingListClosesRightAfterTheChangeRanAndEverythingIsFreed) {
    long listsBefore = liveObjects<KLPSelectListTable>();
    std::vector<bool> listOnTop;
    {
        Ref<KLPListCell> cell = fourChoices(true, [&](NSObject*) {
            listOnTop.push_back(as<KLPSelectListTable>(navigation->topViewController()));
        });
        Ref<KLPreferences> table = showInTable(cell, true);
        KLPSelectListTable* list = open(table);
        EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore + 1);
        list->tableView()->tapRowAtIndexPath(row(1));
        EXPECT_EQ(listOnTop, std::vector<bool>{true});
        EXPECT_EQ(navigation->topViewController(), table.get());
        EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore);
        navigation = nullptr;
    }
    EXPECT_EQ(liveObjects<KLPListCell>(), 0);
    EXPECT_EQ(liveObjects<KLPreferences>(), 0);
}

TEST_F(ListCell, BlockAndNotificationReceiveTheStoredValueAfterItWasStored) {
    std::vector<std::string> blockSaw;
    Ref<KLPListCell> cell = fourChoices(false, [&](NSObject* value) {
        blockSaw.push_back(text(value) + " stored " + text(setting->value()) + " posts " +
                           std::to_string(posted.size()));
    });
    Ref<KLPreferences> table = showInTable(cell, true);
    open(table)->tableView()->tapRowAtIndexPath(row(2));
    EXPECT_EQ(blockSaw, std::vector<std::string>{"high stored high posts 0"});
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(text(posted[0]->name()), "QualityChanged");
    EXPECT_EQ(text(posted[0]->object()), "high");
}

// Without a navigation controller the list is presented with a Done button that
// dismisses it; a popping list is dismissed after a choice.
TEST_F(ListCell, WithoutANavigationControllerTheListIsPresented) {
    setting->setValue("mid"_ns);
    long listsBefore = liveObjects<KLPSelectListTable>();
    Ref<KLPListCell> cell = fourChoices(false);
    Ref<KLPreferences> table = showInTable(cell, false);
    KLPSelectListTable* list = open(table);
    ASSERT_TRUE(list);
    EXPECT_EQ(screenText(table)->utf8(), "[Done] | Quality | \n\n"
                                         "  Low\n  Medium  ✓\n  High\n  Best\n");
    list->tableView()->tapRowAtIndexPath(row(0));
    EXPECT_TRUE(table->presentedViewController());
    EXPECT_EQ(text(setting->value()), "low");

    Ref<UINavigationItem> item = send<Ref<UINavigationItem>>(list, "navigationItem"_sel);
    EXPECT_TRUE(item->leftBarButtonItem()->tap());
    EXPECT_FALSE(table->presentedViewController());
    EXPECT_EQ(liveObjects<KLPSelectListTable>(), listsBefore);
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Low");

    Ref<KLPListCell> popping = fourChoices(true);
    Ref<KLPreferences> other = showInTable(popping, false);
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
    EXPECT_EQ(moreItems->items()->count(), 1u);
    Ref<KLPreferences> table = showInTable(moreItems, true);
    KLPSelectListTable* list = open(table);
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 1);
    Ref<KLPListCell> none = makeCell(nullptr, strings({"a"}), false);
    EXPECT_EQ(none->values()->count(), 0u);
}

TEST_F(ListCell, AChosenTextThatIsNoLongerAnItemStoresAndPostsNothing) {
    setting->setValue("low"_ns);
    Ref<KLPListCell> cell = fourChoices(false);
    Ref<KLPreferences> table = showInTable(cell, true);
    KLPSelectListTable* list = open(table);
    cell->setItems(strings({"Other"}));
    list->tableView()->tapRowAtIndexPath(row(2));
    EXPECT_EQ(text(setting->value()), "low");
    EXPECT_EQ(text(cell->detailTextLabel()->text()), "Low");
    EXPECT_TRUE(posted.empty());
}

TEST_F(ListCell, NoSettingAndNoItemsStillGiveAWorkingList) {
    Ref<KLPListCell> cell = KLPListCell::cellWithTitle("Empty"_ns, nullptr, NSArray::array(),
                                                       NSArray::array(), false, nullptr, nullptr);
    EXPECT_FALSE(cell->detailTextLabel()->text());
    Ref<KLPreferences> table = showInTable(cell, true);
    KLPSelectListTable* list = open(table);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 0);
    EXPECT_FALSE(list->tableView()->tapRowAtIndexPath(row(0)));

    Ref<KLPListCell> unbound = KLPListCell::cellWithTitle("Unbound"_ns, nullptr, strings({"X"}),
                                                          strings({"x"}), false, nullptr, nullptr);
    navigation->popViewControllerAnimated(false);
    Ref<KLPreferences> other = showInTable(unbound, true);
    KLPSelectListTable* second = open(other);
    EXPECT_EQ(accessories(second), std::vector<long>{kNone});
    second->tableView()->tapRowAtIndexPath(row(0));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_FALSE(posted[0]->name());
    EXPECT_EQ(text(posted[0]->object()), "x");
}

TEST_F(ListCell, TheListTakesTheCellsTintForItsViewsAndBar) {
    Ref<KLPListCell> cell = fourChoices(false);
    Ref<KLPreferences> table = showInTable(cell, true);
    Ref<UIColor> accent = UIColor::colorWithRed(0.8, 0.2, 0.3, 1);
    table->setTintUIColor(accent);
    table->updateTintColors();
    KLPSelectListTable* list = open(table);
    EXPECT_EQ(list->tintUIColor(), accent.get());
    EXPECT_EQ(list->view()->tintColor(), accent.get());
    EXPECT_EQ(list->tableView()->tintColor(), accent.get());
    EXPECT_EQ(navigation->navigationBar()->tintColor(), accent.get());
}
