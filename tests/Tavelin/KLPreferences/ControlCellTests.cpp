#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "ObjectModel/Message.h"
#include "tests/platform/UIKit/Support.h"

namespace {

// A fresh defaults store per test; block calls and posts recorded in order.
class ControlCells : public uikit_support::ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        NSUserDefaults::resetStandardUserDefaults();
        token_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            nullptr, nullptr, [this](NSNotification* note) {
                if (as<NSUserDefaults>(note->object())) return;
                events.push_back("post " + name(note->name()) + " " + label(note->object()));
            });
    }
    void TearDown() override {
        NSNotificationCenter::defaultCenter()->removeObserver(token_);
        NSUserDefaults::resetStandardUserDefaults();
        ScreenTest::TearDown();
    }

    KLPCell::ValueChangedBlock recordBlock() {
        return [this](NSObject* argument) { events.push_back("block " + label(argument)); };
    }
    static bool isControl(NSObject* object) { return as<UIControl>(object) != nullptr; }
    static std::string name(NSString* text) { return text ? text->utf8() : "(none)"; }
    static std::string label(NSObject* object) {
        if (isControl(object)) return std::string("control");
        return describe(object)->utf8();
    }
    // What the store holds itself under the key, registered defaults left out.
    static Ref<NSObject> stored(const char* key) {
        return NSUserDefaults::standardUserDefaults()->persistentDomain()->objectForKey(
            NSString::string(key));
    }

    std::vector<std::string> events;
    Ref<NSObject> token_;
};

Ref<KLPSettings> setting(const char* key, NSObject* defaultValue) {
    return KLPSettings::settingsWithKey(NSString::string(key), defaultValue);
}

TEST_F(ControlCells, SwitchStartsFromTheStoreAndReportsEachFlip) {
    Ref<KLPSwitchCell> cell = KLPSwitchCell::cellWithTitle(
        "Mode"_ns, setting("K", NSNumber::numberWithBool(false)), "N"_ns, recordBlock());
    UISwitch* toggle = cell->switchView();
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(cell->accessoryView(), toggle);
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
    toggle->flip();
    Ref<NSObject> value = stored("K");
    ASSERT_TRUE(as<NSNumber>(value));
    EXPECT_EQ(as<NSNumber>(value)->kind(), NSNumber::Kind::Bool);
    EXPECT_TRUE(as<NSNumber>(value)->boolValue());
    EXPECT_EQ(events, (std::vector<std::string>{"block control", "post N control"}));
    EXPECT_EQ(cell->retainCount(), 1) << "the switch does not own its cell";
}

TEST_F(ControlCells, SwitchWithDefaultYesStartsOnWithoutStoringAndNilsAreSkipped) {
    Ref<KLPSwitchCell> on = KLPSwitchCell::cellWithTitle(
        "A"_ns, setting("Y", NSNumber::numberWithBool(true)), nullptr, nullptr);
    EXPECT_TRUE(on->switchView()->isOn());
    EXPECT_FALSE(stored("Y"));
    Ref<KLPSwitchCell> text =
        KLPSwitchCell::cellWithTitle("B"_ns, setting("S", "text"_ns), nullptr, nullptr);
    EXPECT_FALSE(text->switchView()->isOn());
    Ref<KLPSwitchCell> yes = // the cell sends boolValue, which "YES" answers with YES
        KLPSwitchCell::cellWithTitle("B"_ns, setting("T", "YES"_ns), nullptr, nullptr);
    EXPECT_TRUE(yes->switchView()->isOn());
    Ref<KLPSwitchCell> none = KLPSwitchCell::cellWithTitle("C"_ns, nullptr, nullptr, nullptr);
    EXPECT_FALSE(none->switchView()->isOn());
    none->switchView()->flip();
    EXPECT_EQ(events, (std::vector<std::string>{"post (none) control"}));
}

Ref<NSArray> texts(std::initializer_list<NSObject*> items) {
    return NSArray::arrayWithObjects(items);
}

TEST_F(ControlCells, SegmentShowsTheStoredItemAndReportsThePickedValue) {
    Ref<KLPSettings> choice = setting("Seg", nullptr);
    choice->setValue("Two"_ns);
    Ref<KLPSegmentCell> cell = KLPSegmentCell::cellWithTitle_items(
        "Pick"_ns, choice, texts({"One"_ns, "Two"_ns, "Three"_ns}), "N"_ns, recordBlock());
    EXPECT_EQ(cell->segment()->numberOfSegments(), 3);
    EXPECT_EQ(cell->segment()->selectedSegmentIndex(), 1);
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
    cell->segment()->pickSegment(2);
    EXPECT_TRUE(objectsEqual(stored("Seg"), "Three"_ns));
    EXPECT_EQ(events, (std::vector<std::string>{"block Three", "post N Three"}));
    Ref<KLPSegmentCell> twice = KLPSegmentCell::cellWithTitle_items(
        "D"_ns, setting("Dup", "B"_ns), texts({"A"_ns, "B"_ns, "B"_ns}), nullptr, nullptr);
    EXPECT_EQ(twice->segment()->selectedSegmentIndex(), 1) << "the first of two equal values";
}

TEST_F(ControlCells, SegmentStoresValuesWhileShowingDisplayedValues) {
    Ref<NSArray> numbers = texts({NSNumber::numberWithInteger(1), NSNumber::numberWithInteger(2),
                                  NSNumber::numberWithInteger(3)});
    Ref<KLPSegmentCell> cell =
        KLPSegmentCell::cellWithTitle("Level"_ns, setting("Lvl", nullptr), numbers,
                                      texts({"Low"_ns, "Mid"_ns, "High"_ns}), nullptr, nullptr);
    EXPECT_EQ(cell->segment()->titleForSegmentAtIndex(2)->utf8(), "High");
    EXPECT_EQ(cell->segment()->selectedSegmentIndex(), UISegmentedControlNoSegment);
    cell->segment()->pickSegment(2);
    EXPECT_TRUE(objectsEqual(stored("Lvl"), NSNumber::numberWithInteger(3)));

    Ref<KLPSegmentCell> plain = KLPSegmentCell::cellWithTitle_values(
        "Plain"_ns, setting("Lvl", nullptr), numbers, nullptr, nullptr);
    EXPECT_EQ(plain->displayedValues(), plain->values());
    EXPECT_EQ(plain->segment()->selectedSegmentIndex(), 2) << "the stored 3";
    EXPECT_EQ(send<Ref<NSString>>(plain->segment(), "screenText"_sel)->utf8(), "[ 1 | 2 | *3* ]");
}

TEST_F(ControlCells, SegmentPickPastTheValuesStoresAndReportsNothing) {
    Ref<KLPSegmentCell> cell =
        KLPSegmentCell::cellWithTitle("Short"_ns, setting("Short", "A"_ns), texts({"A"_ns}),
                                      texts({"A"_ns, "B"_ns}), "N"_ns, recordBlock());
    EXPECT_TRUE(cell->segment()->pickSegment(1));
    EXPECT_FALSE(stored("Short"));
    EXPECT_TRUE(events.empty());

    Ref<KLPSegmentCell> empty = KLPSegmentCell::cellWithTitle(
        "None"_ns, setting("None", nullptr), nullptr, nullptr, "N"_ns, recordBlock());
    EXPECT_EQ(empty->segment()->numberOfSegments(), 0);
    send(empty.get(), "segmentAction:"_sel, empty->segment());
    EXPECT_TRUE(events.empty());
}

TEST_F(ControlCells, TextFieldStoresTheWholeTextAtEachKeystroke) {
    Ref<KLPTextFieldCell> cell = KLPTextFieldCell::cellWithTitle(
        "Name"_ns, setting("Txt", nullptr), "Your name"_ns, "N"_ns, recordBlock());
    UITextField* field = cell->textField();
    EXPECT_EQ(field->frame(), CGRectMake(0, 0, 190, 30));
    EXPECT_EQ(field->textAlignment(), NSTextAlignmentRight);
    EXPECT_EQ(field->clearButtonMode(), UITextFieldViewModeWhileEditing);
    EXPECT_EQ(field->returnKeyType(), UIReturnKeyDone);
    EXPECT_EQ(field->text()->utf8(), "");

    std::vector<std::string> storedTexts;
    cell->setValueChanged([&](NSObject* argument) {
        EXPECT_EQ(argument, field);
        storedTexts.push_back(describe(stored("Txt"))->utf8());
    });
    field->typeText("ab");
    EXPECT_EQ(storedTexts, (std::vector<std::string>{"a", "ab"}));
    EXPECT_EQ(events, (std::vector<std::string>{"post N control", "post N control"}));

    EXPECT_FALSE(field->pressReturn());
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(storedTexts.size(), 2u) << "return stores nothing";
    EXPECT_EQ(cell->retainCount(), 1) << "delegate and target are not owned";
}

TEST_F(ControlCells, TextFieldShowsStoredTextOrTheDescriptionOfOtherValues) {
    const std::pair<Ref<NSObject>, const char*> cases[] = {{"hello"_ns, "hello"},
                                                           {NSNumber::numberWithInteger(42), "42"}};
    for (const auto& [value, shown] : cases) {
        SCOPED_TRACE(shown);
        Ref<KLPTextFieldCell> cell = KLPTextFieldCell::cellWithTitle("A"_ns, setting(shown, value),
                                                                     nullptr, nullptr, nullptr);
        EXPECT_EQ(cell->textField()->text()->utf8(), shown);
    }
}

TEST_F(ControlCells, LayoutGivesEachControlTheCellsTint) {
    Ref<KLPSwitchCell> toggle =
        KLPSwitchCell::cellWithTitle("A"_ns, setting("T", nullptr), nullptr, nullptr);
    Ref<KLPSegmentCell> segment = KLPSegmentCell::cellWithTitle_items(
        "S"_ns, setting("S1", nullptr), texts({"A"_ns}), nullptr, nullptr);
    Ref<KLPTextFieldCell> text =
        KLPTextFieldCell::cellWithTitle("T"_ns, setting("T1", nullptr), nullptr, nullptr, nullptr);
    toggle->switchView()->setOnTintColor(UIColor::blackColor()); // the client's own, replaced
    Ref<UIColor> accent = UIColor::colorWithRed(0.8, 0.2, 0.3, 1);
    for (UIColor* tint : {static_cast<UIColor*>(nullptr), accent.get()}) {
        for (KLPCell* cell : {static_cast<KLPCell*>(toggle), static_cast<KLPCell*>(segment),
                              static_cast<KLPCell*>(text)}) {
            cell->setTintUIColor(tint);
            cell->setFrame(CGRectMake(0, 0, 320, 44));
            cell->setNeedsLayout();
            cell->layoutIfNeeded();
        }
        EXPECT_EQ(toggle->switchView()->onTintColor(), tint);
    }
    EXPECT_EQ(segment->segment()->tintColor(), accent.get());
    EXPECT_EQ(text->textField()->tintColor(), accent.get());
}

} // namespace
