#include <gtest/gtest.h>

#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIControl.h"

namespace {

// Records each action it receives with its sender.
struct Recorder : NSObject {
    OBJC_CLASS(Recorder, NSObject)
    void changed(id sender) { calls.push_back({"changed", sender}); }
    void edited(id sender) { calls.push_back({"edited", sender}); }
    void bare() { calls.push_back({"bare", nullptr}); }
    struct Call {
        const char* name;
        id sender;
    };
    std::vector<Call> calls;
};

} // namespace

const ClassInfo& Recorder::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<Recorder>()
                                      .method<"changed:", &Recorder::changed>()
                                      .method<"edited:", &Recorder::edited>()
                                      .method<"bare", &Recorder::bare>()
                                      .build();
    return info;
}

namespace {

Ref<UIControl> control() {
    return make<UIControl>(&UIControl::initWithFrame, CGRectZero);
}
Ref<Recorder> recorder() {
    return Ref<Recorder>::adopt(alloc<Recorder>());
}

TEST(UIControl, SendsEachActionOfTheEventToItsTargetWithTheControlAsSender) {
    Ref<UIControl> view = control();
    Ref<Recorder> first = recorder(), second = recorder();
    view->addTarget(first, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(second, "edited:"_sel, UIControlEventEditingChanged);
    view->addTarget(second, "bare"_sel, UIControlEventValueChanged | UIControlEventEditingChanged);

    view->sendActionsForControlEvents(UIControlEventValueChanged);
    ASSERT_EQ(first->calls.size(), 1u);
    EXPECT_STREQ(first->calls[0].name, "changed");
    EXPECT_EQ(first->calls[0].sender, view.get());
    ASSERT_EQ(second->calls.size(), 1u);
    EXPECT_STREQ(second->calls[0].name, "bare");

    view->sendActionsForControlEvents(UIControlEventEditingChanged);
    ASSERT_EQ(second->calls.size(), 3u);
    EXPECT_STREQ(second->calls[1].name, "edited");
    EXPECT_STREQ(second->calls[2].name, "bare");
    EXPECT_EQ(first->calls.size(), 1u);
    EXPECT_EQ(first->retainCount(), 1) << "targets are not owned";
}

TEST(UIControl, KeepsAPairOnceAndRemovesByActionOrAll) {
    Ref<UIControl> view = control();
    Ref<Recorder> target = recorder();
    view->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(target, "edited:"_sel, UIControlEventValueChanged);
    EXPECT_EQ(view->actionsForTarget(target, UIControlEventValueChanged)->count(), 2u);

    view->removeTarget(target, "edited:"_sel, UIControlEventValueChanged);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    ASSERT_EQ(target->calls.size(), 1u);
    EXPECT_STREQ(target->calls[0].name, "changed");

    view->removeTarget(target, nullptr, UIControlEventAllEvents);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(target->calls.size(), 1u);
    EXPECT_FALSE(view->actionsForTarget(target, UIControlEventAllEvents));
}

TEST(UIControl, SkipsNilTargetsUnansweredActionsAndDisabledControls) {
    Ref<UIControl> view = control();
    Ref<Recorder> target = recorder();
    view->addTarget(nullptr, "changed:"_sel, UIControlEventValueChanged);
    view->addTarget(target, "missing:"_sel, UIControlEventValueChanged);
    view->addTarget(target, "changed:"_sel, UIControlEventValueChanged);
    view->setEnabled(false);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_TRUE(target->calls.empty());
    view->setEnabled(true);
    view->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(target->calls.size(), 1u);
}

TEST(UIBarButtonItem, TapSendsThroughTheSameActionPath) {
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
    ASSERT_EQ(target->calls.size(), 2u);
    EXPECT_EQ(target->calls[0].sender, withSender.get());
    EXPECT_STREQ(target->calls[1].name, "bare");
    EXPECT_EQ(target->retainCount(), 1) << "the target is not owned";
}

} // namespace
