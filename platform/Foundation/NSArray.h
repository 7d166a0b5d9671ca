// Ordered collections of objects. Range-for over an array is the fast
// enumeration: it walks the elements in place, without a copy.
#pragma once

#include <initializer_list>
#include <vector>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSMutableArray;

struct NSArray : NSObject {
    OBJC_CLASS(NSArray, NSObject)

    static Ref<NSArray> array();
    static Ref<NSArray> arrayWithObjects(NSObject* const* objects, NSUInteger count);
    static Ref<NSArray> arrayWithObjects(std::initializer_list<NSObject*> objects);

    NSArray* initWithObjects(NSObject* const* objects, NSUInteger count);

    NSUInteger count() const { return _objects.size(); }
    // nil past the end (the platform raises; here nothing crashes).
    NSObject* objectAtIndex(NSUInteger index) const;
    // The lowest index whose element isEqual: the object, or NSNotFound.
    NSUInteger indexOfObject(NSObject* object) const;
    bool containsObject(NSObject* object) const { return indexOfObject(object) != NSNotFound; }
    Ref<NSMutableArray> mutableCopy() const;

    // Messages.
    bool isEqual(NSObject* other);

    class Iterator {
      public:
        using Inner = std::vector<Ref<NSObject>>::const_iterator;
        explicit Iterator(Inner at) : at_(at) {}
        NSObject* operator*() const { return at_->get(); }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        Inner at_;
    };
    Iterator begin() const { return Iterator(_objects.begin()); }
    Iterator end() const { return Iterator(_objects.end()); }

  protected:
    std::vector<Ref<NSObject>> _objects;
};

struct NSMutableArray : NSArray {
    OBJC_CLASS(NSMutableArray, NSArray)

    static Ref<NSMutableArray> array();
    static Ref<NSMutableArray> arrayWithCapacity(NSUInteger capacity);

    // nil is refused: the array stays as it was.
    void addObject(NSObject* object);
    void addObjectsFromArray(const NSArray* other);
    void removeObjectAtIndex(NSUInteger index);
    void removeAllObjects() { _objects.clear(); }
};

// Equality as the platform has it: identity, or isEqual: by message.
bool objectsEqual(objc_object* a, objc_object* b);
