#include "Foundation/NSNumber.h"

#include <cmath>
#include <functional>

#include "Foundation/NSString.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

NSNumber* immortal(Ref<NSNumber> number) {
    number->makeImmortal();
    return number.leak();
}

} // namespace

Ref<NSNumber> NSNumber::numberWithBool(bool value) {
    static NSNumber* const yes = immortal(make<NSNumber>(&NSNumber::initWithBoolean, true));
    static NSNumber* const no = immortal(make<NSNumber>(&NSNumber::initWithBoolean, false));
    return value ? yes : no;
}

Ref<NSNumber> NSNumber::numberWithLongLong(long long value) {
    return make<NSNumber>(&NSNumber::initWithInteger, value);
}

Ref<NSNumber> NSNumber::numberWithFloat(float value) {
    return make<NSNumber>(&NSNumber::initWithReal, Kind::Float, static_cast<double>(value));
}

Ref<NSNumber> NSNumber::numberWithDouble(double value) {
    return make<NSNumber>(&NSNumber::initWithReal, Kind::Double, value);
}

NSNumber* NSNumber::initWithBoolean(bool value) {
    initWithInteger(value);
    _kind = Kind::Bool;
    return this;
}

NSNumber* NSNumber::initWithInteger(long long value) {
    _kind = Kind::Integer;
    _integer = value;
    _real = static_cast<double>(value);
    return this;
}

NSNumber* NSNumber::initWithReal(Kind kind, double value) {
    _kind = kind;
    _real = value;
    _integer = std::isfinite(value) ? static_cast<long long>(value) : 0;
    return this;
}

bool NSNumber::boolValue() const {
    return _kind == Kind::Bool || _kind == Kind::Integer ? _integer != 0 : _real != 0;
}

long long NSNumber::longLongValue() const {
    return _integer;
}

double NSNumber::doubleValue() const {
    return _real;
}

Ref<NSString> NSNumber::stringValue() const {
    switch (_kind) {
    case Kind::Bool:
    case Kind::Integer:
        return NSString::stringWithFormat("%lld", _integer);
    case Kind::Float:
        return NSString::stringWithFormat("%.7g", _real);
    case Kind::Double:
        return NSString::stringWithFormat("%.17g", _real);
    }
    return nullptr;
}

bool NSNumber::isEqual(NSObject* other) {
    const NSNumber* number = as<NSNumber>(other);
    if (!number) return false;
    bool integral = (_kind == Kind::Bool || _kind == Kind::Integer);
    bool otherIntegral = (number->_kind == Kind::Bool || number->_kind == Kind::Integer);
    if (integral && otherIntegral) return _integer == number->_integer;
    return _real == number->_real;
}

unsigned long NSNumber::hash() const {
    return std::hash<double>{}(_real);
}

const ClassInfo& NSNumber::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSNumber>()
                                      .method<"isEqual:", &NSNumber::isEqual>()
                                      .method<"hash", &NSNumber::hash>()
                                      .build();
    return info;
}
