// Tavelin: replaces methods of the host's classes by name when the loader maps
// the library, filters the main feed and gates each post's mediaCoord on the
// "TVLSWitch1" setting.
#include <cstdlib>
#include <objc/runtime.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "objc/Implementation.h"
#include "objc/Message.h"

#define EXPORTED __attribute__((visibility("default")))
#define TAVELIN_EXPORT extern "C" EXPORTED

// Hook slots: empty at load, written once by local_init, only read afterwards.
extern "C" {
EXPORTED Class superclass_IGAccountSettingsViewController = Nil;
EXPORTED IMP orig_IGAccountSettingsViewController_viewDidLoad = nullptr;
EXPORTED Class superclass_IGPost = Nil;
EXPORTED IMP orig_IGPost_mediaCoord = nullptr;
EXPORTED IMP orig_IGPost_setMediaCoord = nullptr;
EXPORTED Class superclass_IGMainFeedListAdapterDataSource = Nil;
EXPORTED IMP orig_IGMainFeedListAdapterDataSource_objectsForListAdapter = nullptr;
}

namespace {

// The implementation a hooked method had before, looked up on every call: the
// slot's, or what the recorded superclass answers at this moment.
template <class Function> Function* previous(IMP slot, Class superclass, SEL selector) {
    return fromIMP<Function>(slot ? slot : class_getMethodImplementation(superclass, selector));
}

bool velinMode() {
    return NSUserDefaults::standardUserDefaults()->boolForKey("TVLSWitch1"_ns);
}

// The class itself defines the selector: the slot gets the implementation
// first, then the one that the switch displaced.
void replaceOwn(Method method, IMP replacement, IMP* slot) {
    *slot = method_getImplementation(method);
    *slot = method_setImplementation(method, replacement);
}

// The first method of `list` named `selector`, or nullptr.
Method findMethod(Method* list, unsigned int count, SEL selector) {
    for (unsigned int i = 0; i < count; ++i)
        if (sel_isEqual(method_getName(list[i]), selector)) return list[i];
    return nullptr;
}

} // namespace

// Installs `replacement` for `selector` on `cls`: over the class's own method
// (keeping the displaced one in `slot`), or as a new method of the class when
// only an ancestor defines it (the slot stays empty).
TAVELIN_EXPORT void register_hook(Class cls, SEL selector, IMP replacement, IMP* slot) {
    for (Class searched = cls; searched; searched = class_getSuperclass(searched)) {
        unsigned int count = 0;
        Method* methods = class_copyMethodList(searched, &count);
        Method found = findMethod(methods, count, selector);
        if (found && searched == cls) replaceOwn(found, replacement, slot);
        if (found && searched != cls)
            class_addMethod(cls, selector, replacement, method_getTypeEncoding(found));
        free(methods);
        if (found) return;
    }
}

// Feed and post hooks.

TAVELIN_EXPORT Retained<NSObject> method_IGPost_mediaCoord(id self, SEL _cmd) {
    if (velinMode()) return {};
    return previous<Retained<NSObject>(id, SEL)>(orig_IGPost_mediaCoord, superclass_IGPost,
                                                 "mediaCoord"_sel)(self, _cmd);
}

TAVELIN_EXPORT void method_IGPost_setMediaCoord(id self, SEL _cmd, id coord) {
    if (velinMode()) return;
    previous<void(id, SEL, id)>(orig_IGPost_setMediaCoord, superclass_IGPost,
                                "setMediaCoord:"_sel)(self, _cmd, coord);
}

namespace {

bool isSponsoredFeedItem(NSObject* object) {
    if (!send<bool>(object, "isKindOfClass:"_sel, NSClassFromString("IGFeedItem"_ns))) return false;
    return send<bool>(object, "isSponsored"_sel) || send<bool>(object, "isSponsoredApp"_sel);
}

} // namespace

TAVELIN_EXPORT Retained<NSMutableArray>
method_IGMainFeedListAdapterDataSource_objectsForListAdapter(id self, SEL _cmd, id listAdapter) {
    Ref<NSArray> hostObjects = previous<Retained<NSArray>(id, SEL, id)>(
        orig_IGMainFeedListAdapterDataSource_objectsForListAdapter,
        superclass_IGMainFeedListAdapterDataSource,
        "objectsForListAdapter:"_sel)(self, _cmd, listAdapter);
    Ref<NSMutableArray> shown = NSArray::array()->mutableCopy();
    if (hostObjects)
        for (NSObject* object : *hostObjects)
            if (!isSponsoredFeedItem(object)) shown->addObject(object);
    return std::move(shown).retained();
}

// Settings entry.

TAVELIN_EXPORT void method_IGAccountSettingsViewController_viewDidLoad(id self, SEL _cmd) {
    previous<void(id, SEL)>(orig_IGAccountSettingsViewController_viewDidLoad,
                            superclass_IGAccountSettingsViewController,
                            "viewDidLoad"_sel)(self, _cmd);
}

TAVELIN_EXPORT void method_IGAccountSettingsViewController_isTapped(id, SEL, id) {}

// The library's only load-time initialiser.
TAVELIN_EXPORT __attribute__((constructor)) void local_init() {
    Class settings = objc_getClass("IGAccountSettingsViewController");
    superclass_IGAccountSettingsViewController = class_getSuperclass(settings);
    register_hook(settings, "viewDidLoad"_sel,
                  toIMP(&method_IGAccountSettingsViewController_viewDidLoad),
                  &orig_IGAccountSettingsViewController_viewDidLoad);
    char types[5] = {'v', '@', ':', '@', '\0'};
    class_addMethod(settings, "isTapped:"_sel,
                    toIMP(&method_IGAccountSettingsViewController_isTapped), types);

    Class post = objc_getClass("IGPost");
    superclass_IGPost = class_getSuperclass(post);
    register_hook(post, "mediaCoord"_sel, toIMP(&method_IGPost_mediaCoord),
                  &orig_IGPost_mediaCoord);
    register_hook(post, "setMediaCoord:"_sel, toIMP(&method_IGPost_setMediaCoord),
                  &orig_IGPost_setMediaCoord);

    Class dataSource = objc_getClass("IGMainFeedListAdapterDataSource");
    superclass_IGMainFeedListAdapterDataSource = class_getSuperclass(dataSource);
    register_hook(dataSource, "objectsForListAdapter:"_sel,
                  toIMP(&method_IGMainFeedListAdapterDataSource_objectsForListAdapter),
                  &orig_IGMainFeedListAdapterDataSource_objectsForListAdapter);
}
