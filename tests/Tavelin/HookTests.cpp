// The library loaded through the loader into hosts of each shape (each
// scenario in a child process): where its hooks go, what the feed filter
// keeps, and how the switch gates each post's mediaCoord.
#include <dlfcn.h>
#include <objc/runtime.h>
#include <sstream>

#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "host/HostClasses.h"
#include "host/IGFeed.h"
#include "host/IGMainFeed.h"
#include "tests/host/TestRoot.h"

// The storage of the shaped posts: a media coordinate.
struct CoordStore : NSObject {
    OBJC_CLASS(CoordStore, NSObject)
    Ref<NSObject> _coord;
};
OBJC_IMPLEMENT_CLASS(CoordStore)

namespace {

// Loads the library into this process (register the scenario's classes
// first) and reads its exported slots.
struct Injection {
    Injection() {
        setDeviceRoot(root.path());
        root.inject("Tavelin.dylib", TAVELIN_DYLIB);
        std::ostringstream errors;
        std::vector<LoadedLibrary> loaded = loadInjectedLibraries(root.path(), errors, true);
        EXPECT_EQ(errors.str(), "");
        handle = loaded.size() == 1 ? loaded.front().handle : nullptr;
        EXPECT_TRUE(handle);
    }
    void* symbol(const char* name) const {
        void* found = handle ? dlsym(handle, name) : nullptr;
        EXPECT_TRUE(found) << name << " is not exported";
        return found;
    }
    template <class T = IMP> T slot(const char* name) const {
        void* found = symbol(name);
        return found ? *static_cast<T*>(found) : T{};
    }
    TestRoot root;
    void* handle = nullptr;
};

// The host's methods in the shaped classes.
Retained<NSObject> hostGetter(id self, SEL) {
    return Ref<NSObject>(static_cast<CoordStore*>(self)->_coord).retained();
}
void hostSetter(id self, SEL, id coord) {
    static_cast<CoordStore*>(self)->_coord = static_cast<NSObject*>(coord);
}
Retained<NSObject> ownGetter(id, SEL) {
    return Ref<NSObject>("own"_ns).retained();
}
void ignoringSetter(id, SEL, id) {}

struct Definition {
    const char* selector;
    IMP implementation;
    const char* types;
};

// A runtime class under `superclass` that defines exactly the methods given.
Class shaped(Class superclass, const char* name, std::initializer_list<Definition> methods = {}) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    for (const Definition& method : methods)
        class_addMethod(cls, sel_registerName(method.selector), method.implementation,
                        method.types);
    objc_registerClassPair(cls);
    return cls;
}

// What an instance of `cls` runs for the selector, its own or inherited.
IMP answered(Class cls, const char* selector) {
    Method method = class_getInstanceMethod(cls, sel_registerName(selector));
    return method ? method_getImplementation(method) : nullptr;
}

TEST(HookInstallation, HooksGoOnTheClassWhicheverClassDefinesTheMethod) {
    EXPECT_IN_CHILD(([] {
        // Grand defines both methods, Middle none, IGPost only the getter.
        const Definition getter{"mediaCoord", toIMP(&hostGetter), "@@:"};
        const Definition setter{"setMediaCoord:", toIMP(&hostSetter), "v@:@"};
        Class grand = shaped(CoordStore::objcClass(), "Grand", {getter, setter});
        Class middle = shaped(grand, "Middle");
        Class post = shaped(middle, "IGPost", {{"mediaCoord", toIMP(&ownGetter), "@@:"}});
        Injection library;
        EXPECT_EQ(library.slot<Class>("superclass_IGPost"), middle);
        EXPECT_EQ(library.slot("orig_IGPost_mediaCoord"), toIMP(&ownGetter));
        EXPECT_EQ(library.slot("orig_IGPost_setMediaCoord"), nullptr) << "only an ancestor has it";
        EXPECT_EQ(answered(post, "mediaCoord"), library.symbol("method_IGPost_mediaCoord"));
        EXPECT_EQ(answered(post, "setMediaCoord:"), library.symbol("method_IGPost_setMediaCoord"));
        EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(post, "setMediaCoord:"_sel)),
                     "v@:@");
        for (Class ancestor : {grand, middle}) {
            EXPECT_EQ(answered(ancestor, "mediaCoord"), getter.implementation) << "left alone";
            EXPECT_EQ(answered(ancestor, "setMediaCoord:"), setter.implementation);
        }

        // Switch off: each replacement reaches what the class answered before.
        Ref<CoordStore> instance = Ref<CoordStore>::adopt(alloc<CoordStore>());
        object_setClass(instance.get(), post);
        send(instance, "setMediaCoord:"_sel, "Oslo"_ns);
        EXPECT_EQ(instance->_coord.get(), "Oslo"_ns);
        EXPECT_EQ(send<Ref<NSObject>>(instance, "mediaCoord"_sel).get(), "own"_ns);
        // Looked up at each call: a setter the superclass gets later is the one reached.
        class_addMethod(middle, "setMediaCoord:"_sel, toIMP(&ignoringSetter), "v@:@");
        send(instance, "setMediaCoord:"_sel, "Bergen"_ns);
        EXPECT_EQ(instance->_coord.get(), "Oslo"_ns);
    }()));
}

TEST(HookInstallation, AHostWithoutTheHookedClassesOrMethodsIsLeftAsItIs) {
    EXPECT_IN_CHILD(([] {
        // IGPost defines neither method; the settings screen has no viewDidLoad
        // but an isTapped: of its own; there is no feed data source.
        Class post = shaped(CoordStore::objcClass(), "IGPost");
        Class settings = shaped(CoordStore::objcClass(), "IGAccountSettingsViewController",
                                {{"isTapped:", toIMP(&hostSetter), "v@:@"}});
        Injection library;
        for (const char* slot : {"orig_IGPost_mediaCoord", "orig_IGPost_setMediaCoord",
                                 "orig_IGAccountSettingsViewController_viewDidLoad",
                                 "orig_IGMainFeedListAdapterDataSource_objectsForListAdapter"})
            EXPECT_EQ(library.slot(slot), nullptr) << slot;
        EXPECT_EQ(library.slot<Class>("superclass_IGMainFeedListAdapterDataSource"), Nil);
        EXPECT_FALSE(class_respondsToSelector(post, "mediaCoord"_sel));
        EXPECT_FALSE(class_respondsToSelector(post, "setMediaCoord:"_sel));
        EXPECT_EQ(answered(settings, "isTapped:"), toIMP(&hostSetter)) << "the host's own is kept";
    }()));
}

// What the list adapter gets from a main feed data source of `hostObjects`.
Ref<NSArray> shownFeed(NSArray* hostObjects) {
    auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(hostObjects);
    return IGListAdapter::adapterWithDataSource(source)->objects();
}

std::vector<NSObject*> elements(NSArray* array) {
    std::vector<NSObject*> found;
    for (NSObject* object : *array)
        found.push_back(object);
    return found;
}

template <class T> Ref<T> feedItem(bool sponsored) {
    Ref<T> item = Ref<T>::adopt(alloc<T>());
    item->setSponsored(sponsored);
    return item;
}

TEST(FeedHook, RemovesSponsoredFeedItemsAndAnswersANewArray) {
    EXPECT_IN_CHILD(([] {
        registerHostClasses({.accountSettings = false});
        Injection library;
        Ref<IGPost> post = feedItem<IGPost>(false), ad = feedItem<IGPost>(true);
        Ref<IGAppInstallItem> app = feedItem<IGAppInstallItem>(false);
        NSString* other = "Sponsored"_ns; // not a feed item: never asked, it would not understand
        Ref<NSArray> host = NSArray::arrayWithObjects({post, ad, other, app, post});
        Ref<NSArray> shown = shownFeed(host);
        ASSERT_TRUE(as<NSMutableArray>(shown.get()));
        EXPECT_EQ(elements(shown), (std::vector<NSObject*>{post, other, post}));
        EXPECT_EQ(host->count(), 5u) << "the host's list is not changed";
        Ref<NSArray> empty = NSArray::array();
        for (NSArray* none : {static_cast<NSArray*>(nullptr), empty.get()}) {
            shown = shownFeed(none);
            EXPECT_TRUE(as<NSMutableArray>(shown.get()) && shown.get() != none);
            EXPECT_EQ(shown->count(), 0u);
        }
    }()));
}

TEST(FeedHook, KeepsEveryObjectWhenTheHostHasNoFeedItemClass) {
    EXPECT_IN_CHILD(([] {
        registerHostClasses({.feedItems = false, .accountSettings = false});
        Injection library;
        Ref<NSArray> host = NSArray::arrayWithObjects({"Sponsored"_ns, "Sponsored"_ns});
        EXPECT_EQ(elements(shownFeed(host)), elements(host));
    }()));
}

void setVelinMode(bool on) {
    NSUserDefaults::standardUserDefaults()->setObject(NSNumber::numberWithBool(on),
                                                      "TVLSWitch1"_ns);
}

TEST(PostHooks, TheSwitchHidesTheCoordinateAndDropsNewOnesUntilItGoesOff) {
    EXPECT_IN_CHILD(([] {
        registerHostClasses();
        Injection library;
        Ref<IGPost> post = feedItem<IGPost>(false);
        Ref<IGMediaCoord> lisbon = IGMediaCoord::coordWithOwner("ana"_ns, "Lisbon"_ns);
        // Never set, then set to NO: every call passes through, nil included.
        for (bool stored : {false, true}) {
            if (stored) setVelinMode(false);
            post->setMediaCoord(nullptr);
            EXPECT_FALSE(post->mediaCoord());
            post->setMediaCoord(lisbon);
            EXPECT_EQ(post->mediaCoord().get(), lisbon.get());
        }
        // On: no coordinate, and new ones are dropped; off again: the one held before.
        setVelinMode(true);
        EXPECT_FALSE(post->mediaCoord());
        post->setMediaCoord(IGMediaCoord::coordWithOwner("bo"_ns, "Oslo"_ns));
        post->setMediaCoord(nullptr);
        setVelinMode(false);
        EXPECT_EQ(post->mediaCoord().get(), lisbon.get());
    }()));
}

} // namespace
