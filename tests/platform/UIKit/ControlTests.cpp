#include <limits>

#include "Support.h"

namespace {

// Keeps the name of each action it receives (with a text field's text after
// it), its sender and a slider's value; as a text field delegate, ends editing
// on return.
struct Recorder : NSObject {
    OBJC_CLASS(Recorder, NSObject)
    void changed(id sender) { note("changed", sender); }
    void edited(id sender) { note("edited", sender); }
    void bare() { note("bare", nullptr); }
    bool textFieldShouldReturn(UITextField* field) {
        note("return", nullptr);
        field->resignFirstResponder();
        return false;
    }
    void note(const std::string& name, id sender) {
        UITextField* field = as<UITextField>(sender);
        calls.push_back(field ? name + " " + field->text()->utf8() : name);
        senders.push_back(sender);
        if (UISlider* slider = as<UISlider>(sender)) values.push_back(slider->value());
    }
    std::vector<std::string> calls;
    std::vector<id> senders;
    std::vector<float> values; // a slider's, at each action
};

const ClassInfo& Recorder::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<Recorder>()
            .method<"changed:", &Recorder::changed>()
            .method<"edited:", &Recorder::edited>()
            .method<"bare", &Recorder::bare>()
            .method<"textFieldShouldReturn:", &Recorder::textFieldShouldReturn>()
            .build();
    return info;
}

Ref<Recorder> recorder() {
    return Ref<Recorder>::adopt(alloc<Recorder>());
}

std::string shown(UIView* view) {
    return send<Ref<NSString>>(view, "screenText"_sel)->utf8();
}

using Calls = std::vector<std::string>;

TEST(UIControl, SendsActionsToTargetsThatAnswerWhileEnabledAsBarButtonItemsDo) {
    Ref<UIControl> view = make<UIControl>(&UIControl::initWithFrame, CGRectZero);
    Ref<Recorder> first = recorder(), second = recorder();
    view->addTarget(first, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(second, "edited:"_sel, UIControlEventEditingChanged);
    view->addTarget(second, "bare"_sel, UIControlEventValueChanged | UIControlEventEditingChanged);
    view->addTarget(nullptr, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(first, "missing:"_sel, UIControlEventValueChanged);
    view->setEnabled(false);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_TRUE(first->calls.empty());
    view->setEnabled(true);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    view->sendActionsForControlEvents(UIControlEventEditingChanged);
    EXPECT_EQ(first->calls, Calls{"changed"});
    EXPECT_EQ(first->senders, std::vector<id>{view.get()});
    EXPECT_EQ(second->calls, (Calls{"bare", "edited", "bare"}));
    EXPECT_EQ(first->retainCount(), 1) << "targets are not owned";
    // A pair is kept once; removal goes by action or takes all.
    Ref<Recorder> third = recorder();
    view->addTarget(third, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(third, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(third, "edited:"_sel, UIControlEventValueChanged);
    EXPECT_EQ(view->actionsForTarget(third, UIControlEventValueChanged)->count(), 2u);
    view->removeTarget(third, "edited:"_sel, UIControlEventValueChanged);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    view->removeTarget(third, nullptr, UIControlEventAllEvents);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(third->calls, Calls{"changed"});
    EXPECT_FALSE(view->actionsForTarget(third, UIControlEventAllEvents));
    // A bar button item's tap takes the same action path.
    Ref<Recorder> target = recorder();
    auto item = [&](SEL action) {
        return make<UIBarButtonItem>(&UIBarButtonItem::initWithTitle, "Done"_ns,
                                     long{UIBarButtonItemStylePlain}, (id)target.get(), action);
    };
    Ref<UIBarButtonItem> withSender = item("changed:"_sel);
    EXPECT_TRUE(withSender->tap());
    EXPECT_TRUE(item("bare"_sel)->tap());
    EXPECT_FALSE(item(nullptr)->tap());
    EXPECT_FALSE(item("missing:"_sel)->tap());
    EXPECT_EQ(target->calls, (Calls{"changed", "bare"}));
    EXPECT_EQ(target->senders[0], withSender.get());
    EXPECT_EQ(target->retainCount(), 1) << "the target is not owned";
}

TEST(UISwitch, HasTheStandardSizeAndSendsValueChangedOnlyForAUserChange) {
    Ref<UISwitch> toggle = make<UISwitch>(&UISwitch::initWithFrame, CGRectMake(5, 6, 200, 300));
    EXPECT_EQ(toggle->frame(), CGRectMake(5, 6, 51, 31));
    Ref<Recorder> target = recorder();
    toggle->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    toggle->setOn(true, true);
    EXPECT_TRUE(target->calls.empty());
    EXPECT_EQ(shown(toggle), "[on]");
    toggle->flip();
    toggle->setOnByUser(false);
    EXPECT_EQ(target->calls.size(), 1u) << "no change, no event";
    EXPECT_EQ(shown(toggle), "[off]");
    toggle->setEnabled(false);
    toggle->flip();
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(target->calls.size(), 1u);
}

TEST(UISegmentedControl, ShowsAndPicksOnlySegmentsItHas) {
    Ref<UISegmentedControl> control = UISegmentedControl::segmentedControlWithItems(
        NSArray::arrayWithObjects({"One"_ns, "Two"_ns, "Three"_ns}));
    Ref<Recorder> target = recorder();
    control->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    EXPECT_EQ(control->selectedSegmentIndex(), UISegmentedControlNoSegment);
    EXPECT_EQ(shown(control), "[ One | Two | Three ]");
    EXPECT_TRUE(control->pickSegment(1));
    EXPECT_TRUE(control->pickSegment(1));
    EXPECT_EQ(shown(control), "[ One | *Two* | Three ]");
    EXPECT_FALSE(control->titleForSegmentAtIndex(3));
    EXPECT_FALSE(control->pickSegment(3));
    EXPECT_FALSE(control->pickSegment(-1));
    EXPECT_EQ(control->selectedSegmentIndex(), 1);
    EXPECT_EQ(target->calls.size(), 2u);
    for (long outside : {3L, -2L, long(NSNotFound)}) {
        control->setSelectedSegmentIndex(outside);
        EXPECT_EQ(control->selectedSegmentIndex(), UISegmentedControlNoSegment) << outside;
    }
    EXPECT_EQ(UISegmentedControl::segmentedControlWithItems(nullptr)->numberOfSegments(), 0);
}

// Values are clamped into the bounds, a bound past the other moves it, NaN is refused.
TEST(UISlider, ValuesStayWithinTheBoundsAndTheScreenTextShowsThem) {
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::tuple<float, float, float, const char*> steps[] = {
        {0, 1, 5, "[0.00 --------o 1.00]"},     {0, 1, -2, "[0.00 o-------- 1.00]"},
        {0, 1, 0.5f, "[0.00 ----o---- 1.00]"},  {-2, 1, 1, "[-2.00 --------o 1.00]"},
        {-2, -3, 1, "[-3.00 o-------- -3.00]"}, {nan, nan, nan, "[-3.00 o-------- -3.00]"},
        {-inf, inf, 0, "[-inf o-------- inf]"}};
    for (auto [min, max, value, text] : steps) {
        slider->setMinimumValue(min);
        slider->setMaximumValue(max);
        slider->setValue(value);
        EXPECT_EQ(shown(slider), text);
    }
    slider->setMaximumValue(5);
    slider->setMinimumValue(6);
    EXPECT_EQ(slider->maximumValue(), 6.0f);
    EXPECT_EQ(slider->value(), 6.0f);
}

// A continuous drag reports every step that moved the thumb; otherwise once, at the end.
TEST(UISlider, DragsReportContinuouslyOrOnceAtTheEnd) {
    Ref<Recorder> target = recorder();
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    slider->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    slider->setValue(0.5f);
    slider->drag({0.2f, 0.3f, 0.3f, 0.256f, 7});
    EXPECT_EQ(target->values, (std::vector<float>{0.2f, 0.3f, 0.256f, 1.0f}));
    target->values.clear();
    slider->setContinuous(false);
    slider->drag({0.2f, 0.3f, 0.256f});
    slider->drag({0.9f, 0.256f});
    slider->dragTo(-3);
    slider->dragTo(0);
    slider->setEnabled(false);
    slider->dragTo(1);
    EXPECT_EQ(target->values, (std::vector<float>{0.256f, 0.0f}));
}

Ref<UITextField> field() {
    return make<UITextField>(&UITextField::initWithFrame, CGRectMake(0, 0, 190, 30));
}

TEST(UITextField, TypingReportsEachCharacterPastingOnceAndADisabledFieldNeither) {
    Ref<UITextField> text = field();
    Ref<Recorder> target = recorder();
    text->addTarget(target, "changed:"_sel, UIControlEventEditingChanged);
    EXPECT_EQ(text->typeText("aé🌹"), 3);
    EXPECT_TRUE(text->isFirstResponder());
    EXPECT_TRUE(text->paste("xyz"));
    EXPECT_FALSE(text->paste(""));
    EXPECT_EQ(target->calls, (Calls{"changed a", "changed aé", "changed aé🌹", "changed aé🌹xyz"}));
    // A stray continuation byte or a cut-off sequence still moves on.
    EXPECT_EQ(field()->typeText("\x80z\xE2\x82"), 3);
    text->setText(nullptr);
    EXPECT_EQ(text->text()->utf8(), "");
    text->setEnabled(false);
    EXPECT_EQ(text->typeText("ab"), 0);
    EXPECT_FALSE(text->becomeFirstResponder());
}

TEST(UITextField, OneFirstResponderAtATimeTheClearButtonWhileEditingAndReturnAsTheDelegateSays) {
    Ref<UITextField> first = field(), second = field();
    first->setClearButtonMode(UITextFieldViewModeWhileEditing);
    first->setText("ab"_ns);
    EXPECT_FALSE(first->showsClearButton());
    EXPECT_TRUE(send<bool>(first.get(), "becomeFirstResponder"_sel));
    EXPECT_TRUE(first->showsClearButton());
    EXPECT_EQ(shown(first), "[ab|___]");
    second->becomeFirstResponder();
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_EQ(shown(first), "[ab___]");
    second->setPlaceholder("Name"_ns);
    second->resignFirstResponder();
    EXPECT_EQ(shown(second), "[(Name)___]");
    field()->becomeFirstResponder(); // and goes away
    EXPECT_TRUE(first->becomeFirstResponder()) << "a first responder that goes away leaves none";
    // Return asks the delegate by message when it answers.
    Ref<UITextField> text = field();
    EXPECT_TRUE(text->pressReturn()) << "no delegate";
    Ref<Recorder> delegate = recorder();
    text->setDelegate(delegate);
    text->typeText("a");
    EXPECT_FALSE(text->pressReturn());
    EXPECT_EQ(delegate->calls, Calls{"return"});
    EXPECT_FALSE(text->isFirstResponder());
    EXPECT_EQ(delegate->retainCount(), 1) << "the delegate is not owned";
    text->setDelegate("a delegate without the method"_ns);
    EXPECT_TRUE(text->pressReturn());
}

} // namespace
