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

long long integralPart(double value) {
    return std::isfinite(value) ? static_cast<long long>(value) : 0;
}

} // namespace

Ref<NSNumber> NSNumber::numberWithBoolImp(Class cls, bool value) {
    if (cls != objcClass()) return make<NSNumber>(cls, &NSNumber::initWithBool, value);
    static NSNumber* const yes = immortal(make<NSNumber>(&NSNumber::initWithBool, true));
    static NSNumber* const no = immortal(make<NSNumber>(&NSNumber::initWithBool, false));
    return value ? yes : no;
}

Ref<NSNumber> NSNumber::numberWithIntImp(Class cls, int value) {
    return make<NSNumber>(cls, &NSNumber::initWithInt, value);
}

Ref<NSNumber> NSNumber::numberWithIntegerImp(Class cls, NSInteger value) {
    return make<NSNumber>(cls, &NSNumber::initWithInteger, value);
}

Ref<NSNumber> NSNumber::numberWithLongLongImp(Class cls, long long value) {
    return make<NSNumber>(cls, &NSNumber::initWithLongLong, value);
}

Ref<NSNumber> NSNumber::numberWithUnsignedLongLongImp(Class cls, unsigned long long value) {
    return make<NSNumber>(cls, &NSNumber::initWithUnsignedLongLong, value);
}

Ref<NSNumber> NSNumber::numberWithFloatImp(Class cls, float value) {
    return make<NSNumber>(cls, &NSNumber::initWithFloat, value);
}

Ref<NSNumber> NSNumber::numberWithDoubleImp(Class cls, double value) {
    return make<NSNumber>(cls, &NSNumber::initWithDouble, value);
}

NSNumber* NSNumber::initWithKind(Kind kind, long long integer, double real) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _kind = kind;
    _integer = integer;
    _real = real;
    return this;
}

NSNumber* NSNumber::initWithBoolImp(bool value) {
    return initWithKind(Kind::Bool, value, value);
}

NSNumber* NSNumber::initWithIntImp(int value) {
    return initWithKind(Kind::Integer, value, value);
}

NSNumber* NSNumber::initWithIntegerImp(NSInteger value) {
    return initWithKind(Kind::Integer, value, static_cast<double>(value));
}

NSNumber* NSNumber::initWithLongLongImp(long long value) {
    return initWithKind(Kind::Integer, value, static_cast<double>(value));
}

NSNumber* NSNumber::initWithUnsignedLongLongImp(unsigned long long value) {
    auto bits = static_cast<long long>(value);
    return initWithKind(bits < 0 ? Kind::Unsigned : Kind::Integer, bits,
                        static_cast<double>(value));
}

NSNumber* NSNumber::initWithFloatImp(float value) {
    return initWithKind(Kind::Float, integralPart(value), value);
}

NSNumber* NSNumber::initWithDoubleImp(double value) {
    return initWithKind(Kind::Double, integralPart(value), value);
}

bool NSNumber::boolValueImp() {
    return integral() ? _integer != 0 : _real != 0;
}

int NSNumber::intValueImp() {
    return static_cast<int>(_integer);
}

NSInteger NSNumber::integerValueImp() {
    return static_cast<NSInteger>(_integer);
}

long long NSNumber::longLongValueImp() {
    return _integer;
}

unsigned long long NSNumber::unsignedLongLongValueImp() {
    return static_cast<unsigned long long>(_integer);
}

float NSNumber::floatValueImp() {
    return static_cast<float>(_real);
}

double NSNumber::doubleValueImp() {
    return _real;
}

Ref<NSString> NSNumber::stringValueImp() {
    switch (_kind) {
    case Kind::Bool:
    case Kind::Integer:
        return NSString::stringWithFormat("%lld", _integer);
    case Kind::Unsigned:
        return NSString::stringWithFormat("%llu", static_cast<unsigned long long>(_integer));
    case Kind::Float:
        return NSString::stringWithFormat("%.7g", _real);
    case Kind::Double:
        return NSString::stringWithFormat("%.17g", _real);
    }
    return nullptr;
}

bool NSNumber::isEqualImp(NSObject* other) {
    const NSNumber* number = as<NSNumber>(other);
    if (!number) return false;
    if (integral() && number->integral())
        return _integer == number->_integer &&
               (_kind == Kind::Unsigned) == (number->_kind == Kind::Unsigned);
    return _real == number->_real;
}

unsigned long NSNumber::hashImp() {
    return std::hash<double>{}(_real);
}

OBJC_IMPLEMENT_LOADED_CLASS(NSNumber)
