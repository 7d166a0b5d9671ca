#include <gtest/gtest.h>

#include "Injection.h"
#include "ObjectModel/Message.h"
#include "Shapes.h"
#include "host/HostClasses.h"
#include "host/IGAccountSettingsViewController.h"
#include "host/IGMainFeed.h"

namespace {

void expectReplaced(Class cls, const Injection& library, const char* selectorName,
                    const char* replacement) {
    EXPECT_EQ(ownImplementation(cls, sel_registerName(selectorName)),
              library.implementation(replacement))
        << class_getName(cls) << " " << selectorName;
}

void classDefinesTheMethod() {
    Class cls = shapedClass(CoordStore::objcClass(), "IGPost", kCounting);
    Injection library;
    EXPECT_EQ(library.superclassSlot("superclass_IGPost"), CoordStore::objcClass());
    EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), kCounting.getter);
    EXPECT_EQ(library.slot("orig_IGPost_setMediaCoord"), kCounting.setter);
    expectReplaced(cls, library, "mediaCoord", "method_IGPost_mediaCoord");
    expectReplaced(cls, library, "setMediaCoord:", "method_IGPost_setMediaCoord");

    Ref<CoordStore> post = instanceOf(cls);
    send(post, "setMediaCoord:"_sel, "Lisbon"_ns);
    EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel).get(), "Lisbon"_ns);
    EXPECT_EQ(hostCalls.getter, 1);
    EXPECT_EQ(hostCalls.setter, 1);
}

Retained<NSObject> laterMediaCoord(id, SEL) {
    return Ref<NSObject>("installed later"_ns).retained();
}

Retained<NSObject> ownMediaCoord(id, SEL) {
    return Ref<NSObject>("own"_ns).retained();
}

void onlyAnAncestorDefinesTheMethod() {
    // IGPost and Middle define no methods at all; Grand defines both.
    Class grand = shapedClass(CoordStore::objcClass(), "Grand", kCounting);
    Class middle = shapedClass(grand, "Middle");
    Class post = shapedClass(middle, "IGPost");
    Injection library;
    EXPECT_EQ(library.superclassSlot("superclass_IGPost"), middle);
    EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), nullptr);
    EXPECT_EQ(library.slot("orig_IGPost_setMediaCoord"), nullptr);
    expectReplaced(post, library, "mediaCoord", "method_IGPost_mediaCoord");
    expectReplaced(post, library, "setMediaCoord:", "method_IGPost_setMediaCoord");
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(post, "mediaCoord"_sel)),
                 method_getTypeEncoding(class_getInstanceMethod(grand, "mediaCoord"_sel)));
    EXPECT_EQ(ownImplementation(grand, "mediaCoord"_sel), kCounting.getter)
        << "the ancestor is left alone";
    EXPECT_EQ(ownImplementation(middle, "mediaCoord"_sel), nullptr);

    // Switch off: the replacement reaches the ancestor's implementation.
    Ref<CoordStore> instance = instanceOf(post);
    send(instance, "setMediaCoord:"_sel, "Oslo"_ns);
    EXPECT_EQ(send<Ref<NSObject>>(instance, "mediaCoord"_sel).get(), "Oslo"_ns);
    EXPECT_EQ(hostCalls.getter, 1);

    // Looked up at call time: an implementation the superclass gets later wins.
    class_addMethod(middle, "mediaCoord"_sel, toIMP(&laterMediaCoord), "@@:");
    EXPECT_EQ(send<Ref<NSObject>>(instance, "mediaCoord"_sel).get(), "installed later"_ns);
    EXPECT_EQ(hostCalls.getter, 1);
}

void classAndAncestorDefineTheMethod() {
    Class base = shapedClass(CoordStore::objcClass(), "Base", kCounting);
    Class cls = shapedClass(base, "IGPost", {toIMP(&ownMediaCoord), nullptr});
    Injection library;
    EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), toIMP(&ownMediaCoord));
    EXPECT_EQ(ownImplementation(base, "mediaCoord"_sel), kCounting.getter);
    expectReplaced(cls, library, "mediaCoord", "method_IGPost_mediaCoord");
    Ref<CoordStore> post = instanceOf(cls);
    EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel).get(), "own"_ns);
    EXPECT_EQ(hostCalls.getter, 0);
}

void noClassDefinesTheMethod() {
    Class post = shapedClass(CoordStore::objcClass(), "IGPost");
    Injection library;
    EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), nullptr);
    EXPECT_EQ(library.slot("orig_IGPost_setMediaCoord"), nullptr);
    EXPECT_FALSE(class_respondsToSelector(post, "mediaCoord"_sel));
    EXPECT_FALSE(class_respondsToSelector(NSObject::objcClass(), "mediaCoord"_sel));
}

void hostWithoutIGPost() {
    registerHostClasses({.feedItems = false});
    Class settings = IGAccountSettingsViewController::objcClass();
    Class feed = IGMainFeedListAdapterDataSource::objcClass();
    IMP viewDidLoad = ownImplementation(settings, "viewDidLoad"_sel);
    IMP objects = ownImplementation(feed, "objectsForListAdapter:"_sel);
    Injection library;
    EXPECT_EQ(library.errors(), "");
    EXPECT_EQ(library.superclassSlot("superclass_IGPost"), Nil);
    EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), nullptr);
    EXPECT_EQ(library.slot("orig_IGPost_setMediaCoord"), nullptr);
    EXPECT_EQ(library.superclassSlot("superclass_IGAccountSettingsViewController"),
              class_getSuperclass(settings));
    EXPECT_EQ(library.slot("orig_IGAccountSettingsViewController_viewDidLoad"), viewDidLoad);
    EXPECT_EQ(library.superclassSlot("superclass_IGMainFeedListAdapterDataSource"),
              NSObject::objcClass());
    EXPECT_EQ(library.slot("orig_IGMainFeedListAdapterDataSource_objectsForListAdapter"), objects);
    expectReplaced(settings, library, "viewDidLoad",
                   "method_IGAccountSettingsViewController_viewDidLoad");
    expectReplaced(settings, library,
                   "isTapped:", "method_IGAccountSettingsViewController_isTapped");
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(settings, "isTapped:"_sel)),
                 "v@:@");

    // The replacement runs the host's own viewDidLoad; the added isTapped: does nothing.
    Ref<IGAccountSettingsViewController> controller = IGAccountSettingsViewController::controller();
    controller->view();
    send(controller, "isTapped:"_sel, controller.get());
    EXPECT_EQ(controller->viewLoads(), 1);
}

void hostWithoutAnyHookedClass() {
    registerHostClasses({.feedItems = false, .mainFeed = false, .accountSettings = false});
    Injection library;
    EXPECT_TRUE(library.loaded());
    EXPECT_EQ(library.errors(), "");
    for (const char* slot : {"superclass_IGAccountSettingsViewController", "superclass_IGPost",
                             "superclass_IGMainFeedListAdapterDataSource"})
        EXPECT_EQ(library.superclassSlot(slot), Nil) << slot;
    for (const char* slot : {"orig_IGAccountSettingsViewController_viewDidLoad",
                             "orig_IGPost_mediaCoord", "orig_IGPost_setMediaCoord",
                             "orig_IGMainFeedListAdapterDataSource_objectsForListAdapter"})
        EXPECT_EQ(library.slot(slot), nullptr) << slot;
}

void hostThatAlreadyHasIsTapped() {
    Class settings = shapedClass(CoordStore::objcClass(), "IGAccountSettingsViewController");
    class_addMethod(settings, "isTapped:"_sel, toIMP(&countingTap), "v@:@");
    Injection library;
    EXPECT_EQ(ownImplementation(settings, "isTapped:"_sel), toIMP(&countingTap));
    EXPECT_EQ(library.slot("orig_IGAccountSettingsViewController_viewDidLoad"), nullptr);
    Ref<CoordStore> controller = instanceOf(settings);
    send(controller, "isTapped:"_sel, controller.get());
    EXPECT_EQ(hostCalls.taps, 1);
}

} // namespace

TEST(HookInstallation, ReplacesAMethodTheClassDefinesAndKeepsTheHostsInTheSlot) {
    EXPECT_IN_CHILD(classDefinesTheMethod());
}

TEST(HookInstallation, GivesTheClassItsOwnMethodWhenOnlyAnAncestorDefinesIt) {
    EXPECT_IN_CHILD(onlyAnAncestorDefinesTheMethod());
}

TEST(HookInstallation, SwitchesOnlyTheClassesOwnMethodWhenBothDefineIt) {
    EXPECT_IN_CHILD(classAndAncestorDefineTheMethod());
}

TEST(HookInstallation, InstallsNothingWhenNoClassInTheChainDefinesTheMethod) {
    EXPECT_IN_CHILD(noClassDefinesTheMethod());
}

TEST(HookInstallation, HostWithoutIGPostStillGetsTheOtherHooks) {
    EXPECT_IN_CHILD(hostWithoutIGPost());
}

TEST(HookInstallation, HostWithoutAnyHookedClassIsLeftUnchanged) {
    EXPECT_IN_CHILD(hostWithoutAnyHookedClass());
}

TEST(HookInstallation, KeepsAnIsTappedMethodTheHostAlreadyHas) {
    EXPECT_IN_CHILD(hostThatAlreadyHasIsTapped());
}
