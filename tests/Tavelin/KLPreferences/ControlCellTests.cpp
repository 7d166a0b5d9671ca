#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using ControlCells = fixtures::CellTest;

// Each change is stored before the block runs and the notification is posted;
// the cell's tint replaces its control's at layout; the control does not own its cell.
TEST_F(ControlCells, EachControlStoresItsValueThenCallsTheBlockThenPosts) {
    auto block = [this](const char* key) {
        return [this, key](NSObject* arg) {
            events.push_back("block " + label(arg) + " stored " + label(stored(key)));
        };
    };
    Ref<KLPSwitchCell> toggle =
        KLPSwitchCell::cellWithTitle("T"_ns, setting("K1"), "N"_ns, block("K1"));
    Ref<KLPSegmentCell> segment = KLPSegmentCell::cellWithTitle_items(
        "S"_ns, setting("K2"), strings({"One", "Two", "Three"}), "N"_ns, block("K2"));
    Ref<KLPTextFieldCell> field =
        KLPTextFieldCell::cellWithTitle("F"_ns, setting("K3"), nullptr, "N"_ns, block("K3"));
    const struct {
        KLPCell* cell;
        UIControl* control;
        std::vector<std::string> events;
    } cases[] = {{toggle, toggle->switchView(), {"block control stored 1", "post N control"}},
                 {segment, segment->segment(), {"block Three stored Three", "post N Three"}},
                 {field,
                  field->textField(),
                  {"block control stored a", "post N control", "block control stored ab",
                   "post N control"}}};
    toggle->switchView()->setOnTintColor(UIColor::blackColor()); // the client's own, replaced
    Ref<UIColor> accent = UIColor::colorWithRed(0.8, 0.2, 0.3, 1);
    for (const auto& c : cases) {
        events.clear();
        if (auto* onOff = as<UISwitch>(c.control)) onOff->flip();
        if (auto* picker = as<UISegmentedControl>(c.control)) picker->pickSegment(2);
        if (auto* typing = as<UITextField>(c.control)) typing->typeText("ab");
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(c.cell->accessoryView(), c.control);
        for (UIColor* tint : {static_cast<UIColor*>(nullptr), accent.get()}) {
            c.cell->setTintUIColor(tint);
            c.cell->setFrame(CGRectMake(0, 0, 320, 44));
            c.cell->setNeedsLayout();
            c.cell->layoutIfNeeded();
            auto* onOff = as<UISwitch>(c.control);
            EXPECT_EQ(onOff ? onOff->onTintColor() : c.control->tintColor(), tint);
        }
        EXPECT_EQ(c.cell->retainCount(), 1);
    }
    EXPECT_EQ(as<NSNumber>(stored("K1"))->kind(), NSNumber::Kind::Bool);
}

TEST_F(ControlCells, SwitchShowsTheBoolValueOfWhatIsStoredWithoutStoringTheDefault) {
    const std::pair<Ref<NSObject>, bool> cases[] = {{NSNumber::numberWithBool(true), true},
                                                    {"text"_ns, false},
                                                    {"YES"_ns, true},
                                                    {NSArray::array(), false},
                                                    {nullptr, false}};
    for (const auto& [value, on] : cases) {
        Ref<KLPSwitchCell> cell =
            KLPSwitchCell::cellWithTitle("A"_ns, setting("Y", value), nullptr, nullptr);
        EXPECT_EQ(cell->switchView()->isOn(), on) << label(value);
    }
    EXPECT_FALSE(stored("Y"));
    Ref<KLPSwitchCell> unbound = KLPSwitchCell::cellWithTitle("C"_ns, nullptr, nullptr, nullptr);
    unbound->switchView()->flip();
    EXPECT_EQ(events, std::vector<std::string>{"post (nil) control"});
}

TEST_F(ControlCells, SegmentStoresValuesWhileShowingDisplayedValues) {
    Ref<NSArray> numbers =
        NSArray::arrayWithObjects({NSNumber::numberWithInteger(1), NSNumber::numberWithInteger(2),
                                   NSNumber::numberWithInteger(3)});
    Ref<KLPSegmentCell> cell = KLPSegmentCell::cellWithTitle(
        "Level"_ns, setting("Lvl"), numbers, strings({"Low", "Mid", "High"}), nullptr, nullptr);
    EXPECT_EQ(cell->segment()->selectedSegmentIndex(), UISegmentedControlNoSegment);
    cell->segment()->pickSegment(2);
    EXPECT_TRUE(objectsEqual(stored("Lvl"), NSNumber::numberWithInteger(3)));
    EXPECT_EQ(text(send<Ref<NSString>>(cell->segment(), "screenText"_sel)),
              "[ Low | Mid | *High* ]");
    Ref<KLPSegmentCell> plain =
        KLPSegmentCell::cellWithTitle_values("Plain"_ns, setting("Lvl"), numbers, nullptr, nullptr);
    EXPECT_EQ(text(send<Ref<NSString>>(plain->segment(), "screenText"_sel)), "[ 1 | 2 | *3* ]");
    Ref<KLPSegmentCell> twice = KLPSegmentCell::cellWithTitle_items(
        "D"_ns, setting("Dup", "B"_ns), strings({"A", "B", "B"}), nullptr, nullptr);
    EXPECT_EQ(twice->segment()->selectedSegmentIndex(), 1) << "the first of two equal values";
}

TEST_F(ControlCells, SegmentPickPastTheValuesStoresAndReportsNothing) {
    Ref<KLPSegmentCell> cell =
        KLPSegmentCell::cellWithTitle("Short"_ns, setting("Short", "A"_ns), strings({"A"}),
                                      strings({"A", "B"}), "N"_ns, record());
    EXPECT_TRUE(cell->segment()->pickSegment(1));
    Ref<KLPSegmentCell> empty = KLPSegmentCell::cellWithTitle("None"_ns, setting("None"), nullptr,
                                                              nullptr, "N"_ns, record());
    send(empty.get(), "segmentAction:"_sel, empty->segment());
    EXPECT_FALSE(stored("Short"));
    EXPECT_TRUE(events.empty());
}

TEST_F(ControlCells, TextFieldShowsStoredTextOrADescriptionAndReturnStoresNothing) {
    const std::pair<Ref<NSObject>, const char*> cases[] = {{"hello"_ns, "hello"},
                                                           {NSNumber::numberWithInteger(42), "42"}};
    for (const auto& [value, shown] : cases) {
        Ref<KLPTextFieldCell> cell = KLPTextFieldCell::cellWithTitle("A"_ns, setting(shown, value),
                                                                     nullptr, nullptr, nullptr);
        EXPECT_EQ(text(cell->textField()->text()), shown);
    }
    Ref<KLPTextFieldCell> cell =
        KLPTextFieldCell::cellWithTitle("A"_ns, setting("R"), nullptr, "N"_ns, record());
    cell->textField()->becomeFirstResponder();
    EXPECT_FALSE(cell->textField()->pressReturn());
    EXPECT_FALSE(cell->textField()->isFirstResponder());
    EXPECT_TRUE(events.empty());
}
