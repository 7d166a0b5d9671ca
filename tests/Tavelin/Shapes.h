// Test hosts shaped for each hook scenario, made with the runtime's own
// operations. Every host method counts its calls, so a test can tell whether
// the library entered it.
#pragma once

#include "Foundation/NSString.h"
#include "ObjectModel/ClassBuilder.h"

struct HostCalls {
    int getter = 0;
    int setter = 0;
    int taps = 0;
};
inline HostCalls hostCalls;

// The storage of every shaped post: a media coordinate.
struct CoordStore : NSObject {
    OBJC_CLASS(CoordStore, NSObject)
    Ref<NSObject> _coord;
};

inline Retained<NSObject> countingGetter(id self, SEL) {
    ++hostCalls.getter;
    return Ref<NSObject>(static_cast<CoordStore*>(self)->_coord).retained();
}
inline void countingSetter(id self, SEL, id coord) {
    ++hostCalls.setter;
    static_cast<CoordStore*>(self)->_coord = static_cast<NSObject*>(coord);
}
inline void countingTap(id, SEL, id) {
    ++hostCalls.taps;
}

struct CoordMethods {
    IMP getter = nullptr;
    IMP setter = nullptr;
};
inline const CoordMethods kCounting{toIMP(&countingGetter), toIMP(&countingSetter)};

// A runtime class under `superclass` that defines the coordinate methods
// given, and nothing else (not even dealloc: it inherits CoordStore's).
inline Class shapedClass(Class superclass, const char* name, CoordMethods methods = {}) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (methods.getter) class_addMethod(cls, sel_registerName("mediaCoord"), methods.getter, "@@:");
    if (methods.setter)
        class_addMethod(cls, sel_registerName("setMediaCoord:"), methods.setter, "v@:@");
    objc_registerClassPair(cls);
    return cls;
}

// An instance of a class shaped under CoordStore.
inline Ref<CoordStore> instanceOf(Class cls) {
    CoordStore* object = alloc<CoordStore>();
    object_setClass(object, cls);
    return Ref<CoordStore>::adopt(object);
}
