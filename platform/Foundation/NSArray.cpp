#include "Foundation/NSArray.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

bool objectsEqual(objc_object* a, objc_object* b) {
    return a == b || (a && b && send<bool>(a, "isEqual:"_sel, b));
}

Ref<NSArray> NSArray::array() {
    return arrayWithObjects(nullptr, 0);
}

Ref<NSArray> NSArray::arrayWithObjects(NSObject* const* objects, NSUInteger count) {
    return make<NSArray>(&NSArray::initWithObjects, objects, count);
}

Ref<NSArray> NSArray::arrayWithObjects(std::initializer_list<NSObject*> objects) {
    return arrayWithObjects(objects.begin(), objects.size());
}

NSArray* NSArray::initWithObjects(NSObject* const* objects, NSUInteger count) {
    _objects.reserve(count);
    for (NSUInteger i = 0; i < count; ++i)
        if (objects[i]) _objects.emplace_back(objects[i]);
    return this;
}

NSObject* NSArray::objectAtIndex(NSUInteger index) const {
    return index < _objects.size() ? _objects[index].get() : nullptr;
}

NSUInteger NSArray::indexOfObject(NSObject* object) const {
    for (NSUInteger i = 0; i < _objects.size(); ++i)
        if (objectsEqual(_objects[i], object)) return i;
    return NSNotFound;
}

Ref<NSMutableArray> NSArray::mutableCopy() const {
    Ref<NSMutableArray> copy = NSMutableArray::arrayWithCapacity(_objects.size());
    copy->addObjectsFromArray(this);
    return copy;
}

bool NSArray::isEqual(NSObject* other) {
    const NSArray* array = as<NSArray>(other);
    return array &&
           std::equal(
               _objects.begin(), _objects.end(), array->_objects.begin(), array->_objects.end(),
               [](const Ref<NSObject>& a, const Ref<NSObject>& b) { return objectsEqual(a, b); });
}

const ClassInfo& NSArray::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<NSArray>().method<"isEqual:", &NSArray::isEqual>().build();
    return info;
}

Ref<NSMutableArray> NSMutableArray::array() {
    return arrayWithCapacity(0);
}

Ref<NSMutableArray> NSMutableArray::arrayWithCapacity(NSUInteger capacity) {
    Ref<NSMutableArray> array = make<NSMutableArray>(&NSMutableArray::initWithObjects, nullptr, 0);
    array->_objects.reserve(capacity);
    return array;
}

void NSMutableArray::addObject(NSObject* object) {
    if (object) _objects.emplace_back(object);
}

void NSMutableArray::addObjectsFromArray(const NSArray* other) {
    if (!other) return;
    _objects.reserve(_objects.size() + other->count());
    for (NSObject* object : *other)
        _objects.emplace_back(object);
}

void NSMutableArray::removeObjectAtIndex(NSUInteger index) {
    if (index < _objects.size()) _objects.erase(_objects.begin() + index);
}

const ClassInfo& NSMutableArray::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSMutableArray>().build();
    return info;
}
