// Ordered collections of objects. Range-for over an array is the fast
// enumeration: it asks the array for its elements by message and walks them
// in place, without a copy.
#pragma once

#include <initializer_list>
#include <vector>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSMutableArray;

// What a fast enumeration and countByEnumeratingWithState:objects:count:
// pass between them, as on the platform: the items of the current batch and
// where the collection counts its mutations.
struct NSFastEnumerationState {
    unsigned long state = 0;
    NSObject* const* itemsPtr = nullptr;
    unsigned long* mutationsPtr = nullptr;
    unsigned long extra[5] = {};
};

struct NSArray : NSObject {
    OBJC_CLASS(NSArray, NSObject)

    OBJC_CLASS_METHOD(Ref<NSArray>, array, "array")
    // nil elements are left out (the platform raises).
    OBJC_CLASS_METHOD(Ref<NSArray>, arrayWithObjects, "arrayWithObjects:count:", NSObject* const*,
                      NSUInteger)
    OBJC_METHOD(NSArray*, initWithObjects, "initWithObjects:count:", NSObject* const*, NSUInteger)

    OBJC_METHOD(NSUInteger, count, "count")
    // nil past the end (the platform raises; here nothing crashes).
    OBJC_METHOD(NSObject*, objectAtIndex, "objectAtIndex:", NSUInteger)
    // The lowest index whose element isEqual: the object, or NSNotFound.
    OBJC_METHOD(NSUInteger, indexOfObject, "indexOfObject:", NSObject*)
    OBJC_METHOD(bool, containsObject, "containsObject:", NSObject*)
    OBJC_METHOD(Ref<NSMutableArray>, mutableCopy, "mutableCopy")
    // Answers the next batch of elements (all that are left, in place) in
    // state->itemsPtr, or 0 when none are left.
    OBJC_METHOD(NSUInteger, countByEnumeratingWithState,
                "countByEnumeratingWithState:objects:count:", NSFastEnumerationState*, NSObject**,
                NSUInteger)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)

    // C++ convenience: arrayWithObjects:count: over a list.
    static Ref<NSArray> arrayWithObjects(std::initializer_list<NSObject*> objects) {
        return arrayWithObjects(objects.begin(), objects.size());
    }

    // Range-for: the array is retained while it is walked, and a change to it
    // meanwhile raises NSGenericException (Foundation/NSException.h), as the
    // device does, instead of walking storage that may be gone.
    struct End {};
    class Iterator {
      public:
        explicit Iterator(const NSArray* array);
        Iterator(const Iterator&) = delete;
        Iterator& operator=(const Iterator&) = delete;

        NSObject* operator*() const { return _state.itemsPtr[_at]; }
        Iterator& operator++() {
            if (*_state.mutationsPtr != _mutations) mutated();
            if (++_at == _count) next();
            return *this;
        }
        bool operator==(End) const { return _at == _count; }

      private:
        static constexpr NSUInteger kBatch = 16;
        void next();
        [[noreturn]] void mutated() const;

        Ref<NSArray> _array;
        NSFastEnumerationState _state;
        unsigned long _mutations = 0;
        NSUInteger _at = 0;
        NSUInteger _count = 0;
        NSObject* _buffer[kBatch];
    };
    Iterator begin() const { return Iterator(this); }
    End end() const { return {}; }

  protected:
    std::vector<Ref<NSObject>> _objects;
    // Counts the changes made to a mutable array, for enumerations to check.
    unsigned long _mutations = 0;
};

struct NSMutableArray : NSArray {
    OBJC_CLASS(NSMutableArray, NSArray)

    OBJC_CLASS_METHOD(Ref<NSMutableArray>, arrayWithCapacity, "arrayWithCapacity:", NSUInteger)
    OBJC_METHOD(NSMutableArray*, initWithCapacity, "initWithCapacity:", NSUInteger)

    // nil is refused: the array stays as it was.
    OBJC_METHOD(void, addObject, "addObject:", NSObject*)
    OBJC_METHOD(void, addObjectsFromArray, "addObjectsFromArray:", const NSArray*)
    // An index past the end is ignored (the platform raises).
    OBJC_METHOD(void, removeObjectAtIndex, "removeObjectAtIndex:", NSUInteger)
    OBJC_METHOD(void, removeAllObjects, "removeAllObjects")

    // +array, inherited: sent to this class, it answers a mutable array.
    static Ref<NSMutableArray> array() {
        return send<Ref<NSMutableArray>>(objcClass(), "array"_sel);
    }
};

// Equality as the platform has it: identity, or isEqual: by message.
bool objectsEqual(objc_object* a, objc_object* b);
