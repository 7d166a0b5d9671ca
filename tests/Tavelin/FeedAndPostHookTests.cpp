#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Injection.h"
#include "ObjectModel/Message.h"
#include "Shapes.h"
#include "host/HostClasses.h"
#include "host/IGMainFeed.h"

namespace {

// A feed object that counts the questions it is asked.
struct Questioned : NSObject {
    OBJC_CLASS(Questioned, NSObject)
    bool isSponsored() {
        ++sponsoredAsked;
        return _sponsored;
    }
    bool isSponsoredApp() {
        ++appAsked;
        return _app;
    }
    bool _sponsored = false;
    bool _app = false;
    int sponsoredAsked = 0;
    int appAsked = 0;
};

// The host's feed item class, in scenarios that have one.
struct IGFeedItem : Questioned {
    OBJC_CLASS(IGFeedItem, Questioned)
};

template <class T> Ref<T> item(bool sponsored, bool app) {
    Ref<T> made = Ref<T>::adopt(alloc<T>());
    made->_sponsored = sponsored;
    made->_app = app;
    return made;
}

// The main feed with the library injected: what the list adapter gets.
Ref<NSArray> shownFeed(NSArray* hostObjects) {
    registerHostClasses({.feedItems = false, .accountSettings = false});
    auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(hostObjects);
    Injection library;
    EXPECT_NE(library.slot("orig_IGMainFeedListAdapterDataSource_objectsForListAdapter"), nullptr);
    return IGListAdapter::adapterWithDataSource(source)->objects();
}

void removesSponsoredFeedItems() {
    IGFeedItem::objcClass();
    Ref<IGFeedItem> a = item<IGFeedItem>(false, false), s = item<IGFeedItem>(true, false);
    Ref<IGFeedItem> t = item<IGFeedItem>(false, true), d = item<IGFeedItem>(false, false);
    Ref<Questioned> b = item<Questioned>(true, true); // not a feed item: kept, never asked
    Ref<NSArray> host = NSArray::arrayWithObjects({a, s, b, t, d, a});
    Ref<NSArray> shown = shownFeed(host);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(as<NSMutableArray>(shown));
    EXPECT_NE(shown.get(), host.get());
    std::vector<NSObject*> kept;
    for (NSObject* object : *shown)
        kept.push_back(object);
    EXPECT_EQ(kept, (std::vector<NSObject*>{a, b, d, a})) << "order and duplicates kept";
    EXPECT_EQ(host->count(), 6u) << "the host's list is not changed";
    EXPECT_EQ(s->sponsoredAsked, 1);
    EXPECT_EQ(s->appAsked, 0) << "isSponsoredApp is asked only after isSponsored answered NO";
    EXPECT_EQ(t->sponsoredAsked, 1);
    EXPECT_EQ(t->appAsked, 1);
    EXPECT_EQ(a->sponsoredAsked, 2);
    EXPECT_EQ(a->appAsked, 2);
    EXPECT_EQ(b->sponsoredAsked + b->appAsked, 0);
}

void keepsEverythingWithoutAFeedItemClass() {
    Ref<Questioned> sponsored = item<Questioned>(true, true);
    Ref<NSArray> shown = shownFeed(NSArray::arrayWithObjects({sponsored, sponsored}));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->count(), 2u);
    EXPECT_EQ(sponsored->sponsoredAsked, 0);
}

void answersANewEmptyArrayForNoHostObjects() {
    Ref<NSArray> empty = NSArray::array();
    for (NSArray* host : {static_cast<NSArray*>(nullptr), empty.get()}) {
        Ref<NSArray> shown = shownFeed(host);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(as<NSMutableArray>(shown));
        EXPECT_EQ(shown->count(), 0u);
        EXPECT_NE(shown.get(), host);
    }
}

void switchOnHidesAndDropsTheCoordinate() {
    Class cls = shapedClass(CoordStore::objcClass(), "IGPost", kCounting);
    Injection library;
    Ref<CoordStore> post = instanceOf(cls);
    post->_coord = "Lisbon"_ns;
    setVelinMode(true);
    EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel), nullptr);
    send(post, "setMediaCoord:"_sel, "Oslo"_ns);
    send(post, "setMediaCoord:"_sel, nullptr);
    EXPECT_EQ(post->_coord.get(), "Lisbon"_ns) << "the setter dropped its argument";
    EXPECT_EQ(hostCalls.getter + hostCalls.setter, 0) << "the host's methods were not entered";

    // Turned off again: the coordinate held before the dropped set comes back.
    setVelinMode(false);
    EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel).get(), "Lisbon"_ns);
    EXPECT_EQ(hostCalls.getter, 1);
}

void switchOffPassesEverythingThrough() {
    Class cls = shapedClass(CoordStore::objcClass(), "IGPost", kCounting);
    Injection library;
    Ref<CoordStore> post = instanceOf(cls);
    for (bool stored : {false, true}) {
        if (stored) setVelinMode(false); // never set, then set to NO
        send(post, "setMediaCoord:"_sel, "Porto"_ns);
        EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel).get(), "Porto"_ns);
        send(post, "setMediaCoord:"_sel, nullptr);
        EXPECT_EQ(send<Ref<NSObject>>(post, "mediaCoord"_sel), nullptr);
    }
    EXPECT_EQ(hostCalls.getter, 4);
    EXPECT_EQ(hostCalls.setter, 4);
}

} // namespace

const ClassInfo& Questioned::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<Questioned>()
                                      .method<"isSponsored", &Questioned::isSponsored>()
                                      .method<"isSponsoredApp", &Questioned::isSponsoredApp>()
                                      .build();
    return info;
}

const ClassInfo& IGFeedItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGFeedItem>().build();
    return info;
}

TEST(FeedHook, RemovesSponsoredFeedItemsAndKeepsOrderAndDuplicates) {
    EXPECT_IN_CHILD(removesSponsoredFeedItems());
}

TEST(FeedHook, KeepsEveryObjectWhenTheHostHasNoFeedItemClass) {
    EXPECT_IN_CHILD(keepsEverythingWithoutAFeedItemClass());
}

TEST(FeedHook, AnswersANewEmptyArrayForANilOrEmptyHostList) {
    EXPECT_IN_CHILD(answersANewEmptyArrayForNoHostObjects());
}

TEST(PostHooks, SwitchOnHidesTheCoordinateAndDropsNewOnesWithoutEnteringTheHost) {
    EXPECT_IN_CHILD(switchOnHidesAndDropsTheCoordinate());
}

TEST(PostHooks, SwitchOffOrNeverSetPassesEverythingThroughIncludingNil) {
    EXPECT_IN_CHILD(switchOffPassesEverythingThrough());
}
