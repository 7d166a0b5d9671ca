#include "Foundation/NSArray.h"

#include <algorithm>
#include <type_traits>

#include "Foundation/NSException.h"
#include "Foundation/NSString.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

// The elements are handed out in place: a Ref is laid out as the pointer it holds.
static_assert(sizeof(Ref<NSObject>) == sizeof(NSObject*) &&
              std::is_standard_layout_v<Ref<NSObject>>);

bool objectsEqual(objc_object* a, objc_object* b) {
    return a == b || (a && b && send<bool>(a, "isEqual:"_sel, b));
}

Ref<NSArray> NSArray::arrayImp(Class cls) {
    return make<NSArray>(cls, &NSArray::initWithObjects, nullptr, 0);
}

Ref<NSArray> NSArray::arrayWithObjectsImp(Class cls, NSObject* const* objects, NSUInteger count) {
    return make<NSArray>(cls, &NSArray::initWithObjects, objects, count);
}

NSArray* NSArray::initWithObjectsImp(NSObject* const* objects, NSUInteger count) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _objects.reserve(count);
    for (NSUInteger i = 0; i < count; ++i)
        if (objects[i]) _objects.emplace_back(objects[i]);
    return this;
}

NSUInteger NSArray::countImp() {
    return _objects.size();
}

NSObject* NSArray::objectAtIndexImp(NSUInteger index) {
    return index < _objects.size() ? _objects[index].get() : nullptr;
}

NSUInteger NSArray::indexOfObjectImp(NSObject* object) {
    for (NSUInteger i = 0; i < _objects.size(); ++i)
        if (objectsEqual(_objects[i], object)) return i;
    return NSNotFound;
}

bool NSArray::containsObjectImp(NSObject* object) {
    return indexOfObject(object) != NSNotFound;
}

Ref<NSMutableArray> NSArray::mutableCopyImp() {
    Ref<NSMutableArray> copy = NSMutableArray::arrayWithCapacity(count());
    copy->addObjectsFromArray(this);
    return copy;
}

NSUInteger NSArray::countByEnumeratingWithStateImp(NSFastEnumerationState* state, NSObject**,
                                                   NSUInteger) {
    state->mutationsPtr = &_mutations;
    if (state->state >= _objects.size()) return 0;
    state->itemsPtr = reinterpret_cast<NSObject* const*>(_objects.data()) + state->state;
    NSUInteger batch = _objects.size() - state->state;
    state->state = _objects.size();
    return batch;
}

bool NSArray::isEqualImp(NSObject* other) {
    const NSArray* array = as<NSArray>(other);
    return array &&
           std::equal(
               _objects.begin(), _objects.end(), array->_objects.begin(), array->_objects.end(),
               [](const Ref<NSObject>& a, const Ref<NSObject>& b) { return objectsEqual(a, b); });
}

NSArray::Iterator::Iterator(const NSArray* array) : _array(const_cast<NSArray*>(array)) {
    next();
    // A collection that counts no mutations gets a count that never changes.
    if (!_state.mutationsPtr) _state.mutationsPtr = &_mutations;
    _mutations = *_state.mutationsPtr;
}

void NSArray::Iterator::next() {
    _at = 0;
    _count = _array->countByEnumeratingWithState(&_state, _buffer, kBatch);
}

void NSArray::Iterator::mutated() const {
    Ref<NSString> reason = NSString::stringWithFormat(
        "*** Collection <%s: %p> was mutated while being enumerated.",
        object_getClassName(_array.get()), static_cast<void*>(_array.get()));
    throw NSException(NSGenericException, reason->utf8());
}

OBJC_IMPLEMENT_LOADED_CLASS(NSArray)

Ref<NSMutableArray> NSMutableArray::arrayWithCapacityImp(Class cls, NSUInteger capacity) {
    return make<NSMutableArray>(cls, &NSMutableArray::initWithCapacity, capacity);
}

NSMutableArray* NSMutableArray::initWithCapacityImp(NSUInteger capacity) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _objects.reserve(capacity);
    return this;
}

void NSMutableArray::addObjectImp(NSObject* object) {
    if (!object) return;
    _objects.emplace_back(object);
    ++_mutations;
}

void NSMutableArray::addObjectsFromArrayImp(const NSArray* other) {
    if (!other) return;
    if (other == this) {
        std::vector<Ref<NSObject>> again(_objects);
        _objects.insert(_objects.end(), again.begin(), again.end());
    } else {
        _objects.reserve(_objects.size() + other->count());
        for (NSObject* object : *other)
            _objects.emplace_back(object);
    }
    ++_mutations;
}

void NSMutableArray::removeObjectAtIndexImp(NSUInteger index) {
    if (index >= _objects.size()) return;
    _objects.erase(_objects.begin() + index);
    ++_mutations;
}

void NSMutableArray::removeAllObjectsImp() {
    _objects.clear();
    ++_mutations;
}

OBJC_IMPLEMENT_LOADED_CLASS(NSMutableArray)
