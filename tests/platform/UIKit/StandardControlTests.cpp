#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISlider.h"
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

namespace {

// Records the slider's value at each value-changed action.
struct SliderWatcher : NSObject {
    OBJC_CLASS(SliderWatcher, NSObject)
    void changed(NSObject* sender) { values.push_back(static_cast<UISlider*>(sender)->value()); }
    std::vector<float> values;
};

std::string thumb(UISlider* slider) {
    return send<Ref<NSString>>(slider, "screenText"_sel)->utf8();
}

} // namespace

const ClassInfo& SliderWatcher::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<SliderWatcher>().method<"changed:", &SliderWatcher::changed>().build();
    return info;
}

// Values are clamped into the bounds, a bound past the other moves it, NaN is refused.
TEST(Slider, ValuesStayWithinTheBoundsAndTheScreenTextShowsThem) {
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float min, max, value;
        const char* shown;
    } steps[] = {{0, 1, 5, "[0.00 --------o 1.00]"},     {0, 1, -2, "[0.00 o-------- 1.00]"},
                 {0, 1, 0.5f, "[0.00 ----o---- 1.00]"},  {-2, 1, 1, "[-2.00 --------o 1.00]"},
                 {-2, -3, 1, "[-3.00 o-------- -3.00]"}, {nan, nan, nan, "[-3.00 o-------- -3.00]"},
                 {-inf, inf, 0, "[-inf o-------- inf]"}};
    for (const auto& step : steps) {
        slider->setMinimumValue(step.min);
        slider->setMaximumValue(step.max);
        slider->setValue(step.value);
        EXPECT_EQ(thumb(slider), step.shown);
    }
    slider->setMaximumValue(5);
    slider->setMinimumValue(6);
    EXPECT_EQ(slider->maximumValue(), 6.0f);
    EXPECT_EQ(slider->value(), 6.0f);
}

// A continuous drag reports every step that moved the thumb; otherwise once, at the end.
TEST(Slider, DragsReportContinuouslyOrOnceAtTheEnd) {
    Ref<SliderWatcher> watcher = Ref<SliderWatcher>::adopt(alloc<SliderWatcher>());
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    slider->addTarget(watcher, "changed:"_sel, UIControlEventValueChanged);
    slider->setValue(0.5f);
    slider->drag({0.2f, 0.3f, 0.3f, 0.256f, 7});
    EXPECT_EQ(watcher->values, (std::vector<float>{0.2f, 0.3f, 0.256f, 1.0f}));
    watcher->values.clear();
    slider->setContinuous(false);
    slider->drag({0.2f, 0.3f, 0.256f});
    slider->drag({0.9f, 0.256f});
    slider->dragTo(-3);
    slider->dragTo(0);
    slider->setEnabled(false);
    slider->dragTo(1);
    EXPECT_EQ(watcher->values, (std::vector<float>{0.256f, 0.0f}));
}
