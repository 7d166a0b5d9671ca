#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"

namespace {

// Counts control events and, as a text field delegate, return-key presses.
struct Listener : NSObject {
    OBJC_CLASS(Listener, NSObject)
    void changed(id sender) {
        auto* field = as<UITextField>(sender);
        texts.push_back(field ? field->text()->utf8() : std::string());
    }
    bool textFieldShouldReturn(UITextField* field) {
        ++returns;
        field->resignFirstResponder();
        return false;
    }
    std::vector<std::string> texts;
    int returns = 0;
};

} // namespace

const ClassInfo& Listener::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<Listener>()
            .method<"changed:", &Listener::changed>()
            .method<"textFieldShouldReturn:", &Listener::textFieldShouldReturn>()
            .build();
    return info;
}

namespace {

Ref<Listener> listener() {
    return Ref<Listener>::adopt(alloc<Listener>());
}

std::string shown(UIView* view) {
    return send<Ref<NSString>>(view, "screenText"_sel)->utf8();
}

TEST(UISwitch, HasTheStandardSizeAndSendsValueChangedOnlyForAUserChange) {
    Ref<UISwitch> toggle = make<UISwitch>(&UISwitch::initWithFrame, CGRectMake(5, 6, 200, 300));
    EXPECT_EQ(toggle->frame(), CGRectMake(5, 6, 51, 31));
    Ref<Listener> target = listener();
    toggle->addTarget(target, "changed:"_sel, UIControlEventValueChanged);

    toggle->setOn(true, true);
    EXPECT_TRUE(toggle->isOn());
    EXPECT_TRUE(target->texts.empty());
    EXPECT_EQ(shown(toggle), "[on]");

    toggle->flip();
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(target->texts.size(), 1u);
    toggle->setOnByUser(false);
    EXPECT_EQ(target->texts.size(), 1u) << "no change, no event";
    EXPECT_EQ(shown(toggle), "[off]");

    toggle->setEnabled(false);
    toggle->flip();
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(target->texts.size(), 1u);
}

Ref<UISegmentedControl> segments(std::initializer_list<NSObject*> items) {
    return UISegmentedControl::segmentedControlWithItems(NSArray::arrayWithObjects(items));
}

TEST(UISegmentedControl, ShowsItsItemsAndTheSelectionOrNone) {
    Ref<UISegmentedControl> control = segments({"One"_ns, "Two"_ns, "Three"_ns});
    EXPECT_EQ(control->numberOfSegments(), 3);
    EXPECT_EQ(control->selectedSegmentIndex(), UISegmentedControlNoSegment);
    EXPECT_EQ(shown(control), "[ One | Two | Three ]");
    control->setSelectedSegmentIndex(1);
    EXPECT_EQ(shown(control), "[ One | *Two* | Three ]");
    EXPECT_EQ(control->titleForSegmentAtIndex(2)->utf8(), "Three");
    EXPECT_FALSE(control->titleForSegmentAtIndex(3));
    EXPECT_FALSE(control->imageForSegmentAtIndex(0));

    for (long outside : {3L, -2L, long(NSNotFound)}) {
        control->setSelectedSegmentIndex(outside);
        EXPECT_EQ(control->selectedSegmentIndex(), UISegmentedControlNoSegment) << outside;
    }
    EXPECT_EQ(segments({})->numberOfSegments(), 0);
    EXPECT_EQ(UISegmentedControl::segmentedControlWithItems(nullptr)->numberOfSegments(), 0);
}

TEST(UISegmentedControl, APickInRangeSelectsAndSendsValueChanged) {
    Ref<UISegmentedControl> control = segments({"One"_ns, "Two"_ns});
    Ref<Listener> target = listener();
    control->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    EXPECT_TRUE(control->pickSegment(1));
    EXPECT_TRUE(control->pickSegment(1));
    EXPECT_EQ(control->selectedSegmentIndex(), 1);
    EXPECT_EQ(target->texts.size(), 2u);
    EXPECT_FALSE(control->pickSegment(2));
    EXPECT_FALSE(control->pickSegment(-1));
    EXPECT_EQ(control->selectedSegmentIndex(), 1);
    EXPECT_EQ(target->texts.size(), 2u);
}

Ref<UITextField> field() {
    return make<UITextField>(&UITextField::initWithFrame, CGRectMake(0, 0, 190, 30));
}

TEST(UITextField, TypingReportsEachCharacterAndPastingOnce) {
    Ref<UITextField> text = field();
    Ref<Listener> target = listener();
    text->addTarget(target, "changed:"_sel, UIControlEventEditingChanged);
    EXPECT_EQ(text->typeText("aé🌹"), 3);
    EXPECT_TRUE(text->isFirstResponder());
    EXPECT_EQ(target->texts, (std::vector<std::string>{"a", "aé", "aé🌹"}));
    EXPECT_TRUE(text->paste("xyz"));
    EXPECT_EQ(target->texts.back(), "aé🌹xyz");
    EXPECT_EQ(target->texts.size(), 4u);
    EXPECT_FALSE(text->paste(""));
    EXPECT_EQ(target->texts.size(), 4u);

    // A stray continuation byte or a cut-off sequence still moves on.
    Ref<UITextField> odd = field();
    EXPECT_EQ(odd->typeText("\x80z\xE2\x82"), 3);
}

TEST(UITextField, ADisabledFieldTakesNoTypingAndNilTextIsEmpty) {
    Ref<UITextField> text = field();
    text->setText(nullptr);
    EXPECT_EQ(text->text()->utf8(), "");
    text->setEnabled(false);
    EXPECT_EQ(text->typeText("ab"), 0);
    EXPECT_FALSE(text->becomeFirstResponder());
    EXPECT_EQ(text->text()->utf8(), "");
}

TEST(UITextField, ReturnAsksTheDelegateByMessageWhenItAnswers) {
    Ref<UITextField> text = field();
    EXPECT_TRUE(text->pressReturn()) << "no delegate";
    Ref<Listener> delegate = listener();
    text->setDelegate(delegate);
    text->typeText("a");
    EXPECT_FALSE(text->pressReturn());
    EXPECT_EQ(delegate->returns, 1);
    EXPECT_FALSE(text->isFirstResponder());
    EXPECT_EQ(text->text()->utf8(), "a");
    EXPECT_EQ(delegate->retainCount(), 1) << "the delegate is not owned";

    text->setDelegate("a delegate without the method"_ns);
    EXPECT_TRUE(text->pressReturn());
}

TEST(UITextField, OneFirstResponderAtATimeAndTheClearButtonWhileEditing) {
    Ref<UITextField> first = field(), second = field();
    first->setClearButtonMode(UITextFieldViewModeWhileEditing);
    first->setText("ab"_ns);
    EXPECT_FALSE(first->showsClearButton());
    EXPECT_TRUE(send<bool>(first.get(), "becomeFirstResponder"_sel));
    EXPECT_TRUE(first->showsClearButton());
    EXPECT_EQ(shown(first), "[ab|___]");
    second->becomeFirstResponder();
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_EQ(shown(first), "[ab___]");
    second->setPlaceholder("Name"_ns);
    second->resignFirstResponder();
    EXPECT_EQ(shown(second), "[(Name)___]");
    {
        Ref<UITextField> gone = field();
        gone->becomeFirstResponder();
    }
    EXPECT_TRUE(first->becomeFirstResponder()) << "a first responder that goes away leaves none";
}

} // namespace
