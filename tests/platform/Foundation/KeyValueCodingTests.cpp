#include <gtest/gtest.h>

#include <string>

#include "Foundation/NSException.h"
#include "Foundation/NSKeyValueCoding.h"
#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

// Accessors of each kind: generated (borrowed result), an is-getter, a
// float, and a computed getter whose result the caller owns.
struct Coded : NSObject {
    OBJC_CLASS(Coded, NSObject)
    OBJC_PROPERTY(NSString*, name, setName)
    OBJC_PROPERTY_AS(bool, hidden, isHidden, setHidden)
    OBJC_PROPERTY(float, level, setLevel)
    OBJC_METHOD(Ref<NSString>, greeting, "greeting")

  private:
    Ref<NSString> _name;
    bool _hidden = false;
    float _level = 0;
};

Ref<NSString> Coded::greetingImp() {
    return NSString::string("hello " + (_name ? _name->utf8() : std::string()));
}

OBJC_IMPLEMENT_CLASS(Coded)

std::string raisedName(const std::function<void()>& action) {
    try {
        action();
    } catch (const NSException& raised) {
        return raised.name() + ": " + raised.reason();
    }
    return "nothing raised";
}

} // namespace

TEST(KeyValueCoding, ReadsAndWritesThroughTheAccessorsOrTheUnderscoreVariable) {
    Ref<Coded> object = make<Coded>(&NSObject::init);
    setValueForKey(object, NSString::string("Ada"), "name"_ns);
    setValueForKey(object, NSNumber::numberWithBool(true), "hidden"_ns);
    setValueForKey(object, NSNumber::numberWithDouble(0.25), "level"_ns);
    EXPECT_TRUE(object->isHidden());
    EXPECT_EQ(object->level(), 0.25f);
    EXPECT_EQ(as<NSString>(valueForKey(object, "name"_ns))->utf8(), "Ada");
    EXPECT_TRUE(as<NSNumber>(valueForKey(object, "hidden"_ns))->boolValue());
    EXPECT_EQ(as<NSNumber>(valueForKey(object, "level"_ns))->floatValue(), 0.25f);
    EXPECT_EQ(as<NSString>(valueForKey(object, "greeting"_ns))->utf8(), "hello Ada");
    long strings = liveObjects<NSString>();
    EXPECT_EQ(as<NSString>(valueForKey(object, "greeting"_ns))->utf8(), "hello Ada");
    EXPECT_EQ(liveObjects<NSString>(), strings) << "an owned result is released, not leaked";
    EXPECT_EQ(object->name()->retainCount(), 1) << "a borrowed result is not over-released";
    // Without accessors: the underscore variable of a class made at run time.
    Class cls = objc_allocateClassPair(Coded::objcClass(), "CodedWithCount", 0);
    ASSERT_TRUE(class_addIvar(cls, "_count", sizeof(int), 2, "i"));
    ASSERT_TRUE(class_addIvar(cls, "_note", sizeof(id), 3, "@"));
    objc_registerClassPair(cls);
    Ref<NSObject> counted = make<NSObject>(cls, &NSObject::init);
    setValueForKey(counted, NSNumber::numberWithInt(7), "count"_ns);
    setValueForKey(counted, "kept"_ns, "note"_ns);
    EXPECT_EQ(as<NSNumber>(valueForKey(counted, "count"_ns))->intValue(), 7);
    EXPECT_EQ(as<NSString>(valueForKey(counted, "note"_ns))->utf8(), "kept");
    setValueForKey(counted, nullptr, "note"_ns);
    EXPECT_EQ(valueForKey(counted, "note"_ns), nullptr);
}

TEST(KeyValueCoding, UnknownKeysAndWrongValuesRaiseNamingClassAndKey) {
    Ref<Coded> object = make<Coded>(&NSObject::init);
    EXPECT_EQ(raisedName([&] { (void)valueForKey(object, "colour"_ns); }),
              "NSUndefinedKeyException: [<Coded> valueForUndefinedKey:: this class is not key "
              "value coding-compliant for the key colour]");
    EXPECT_EQ(raisedName([&] { setValueForKey(object, "high"_ns, "level"_ns); }),
              "NSInvalidArgumentException: [<Coded> setValue:forKey: needs a number for the key "
              "level]");
    EXPECT_EQ(raisedName([&] { setValueForKey(object, "x"_ns, "colour"_ns); }).substr(0, 23),
              "NSUndefinedKeyException");
    EXPECT_EQ(raisedName([&] { setValueForKey(object, nullptr, "hidden"_ns); }).substr(0, 26),
              "NSInvalidArgumentException");
    EXPECT_EQ(raisedName([&] { (void)valueForKey(object, nullptr); }).substr(0, 23),
              "NSUndefinedKeyException");
}
