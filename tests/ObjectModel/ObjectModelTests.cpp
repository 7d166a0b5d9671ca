#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "Foundation/NSString.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

struct Counter : NSObject {
    OBJC_CLASS(Counter, NSObject)
    OBJC_CLASS_METHOD(Ref<Counter>, counter, "counter")
    OBJC_OVERRIDE(NSObject*, init, "init")
    OBJC_METHOD(Counter*, initFailing, "initFailing")
    OBJC_READONLY(int, value)
    OBJC_METHOD(void, add, "add:", int)
    OBJC_METHOD(Ref<NSString>, name, "name")
    int _value = 0;
};

struct DoubleCounter : Counter {
    OBJC_CLASS(DoubleCounter, Counter)
    // Overrides add: and reaches the base implementation through super.
    OBJC_OVERRIDE(void, add, "add:", int)
};

} // namespace

Ref<Counter> Counter::counterImp(Class cls) {
    return make<Counter>(cls, &Counter::init);
}
NSObject* Counter::initImp() {
    _value = 1;
    return this;
}
Counter* Counter::initFailingImp() {
    return nullptr;
}
void Counter::addImp(int amount) {
    _value += amount;
}
Ref<NSString> Counter::nameImp() {
    return "counter"_ns;
}
void DoubleCounter::addImp(int amount) {
    sendSuper(this, Super::objcClass(), "add:"_sel, amount * 2);
}

OBJC_IMPLEMENT_CLASS(Counter)
OBJC_IMPLEMENT_CLASS(DoubleCounter)

static_assert(std::string_view(encoding<void, id>()) == "v@:@");
static_assert(std::string_view(encoding<Ref<NSString>>()) == "@@:");
static_assert(std::string_view(encoding<bool, long, float, SEL>()) == "B@:qf:");

TEST(ObjectModel, RegistersRuntimeClassesWithTheirSuperclassAndEncodings) {
    Class cls = DoubleCounter::objcClass();
    EXPECT_EQ(objc_getClass("DoubleCounter"), cls);
    EXPECT_EQ(class_getSuperclass(cls), Counter::objcClass());
    EXPECT_EQ(class_getSuperclass(Counter::objcClass()), NSObject::objcClass());
    Method add = class_getInstanceMethod(Counter::objcClass(), "add:"_sel);
    ASSERT_NE(add, nullptr);
    EXPECT_STREQ(method_getTypeEncoding(add), "v@:i");
}

TEST(ObjectModel, MessagesDispatchToTheMostDerivedClassAndToSuper) {
    Ref<Counter> base = Counter::counter();
    Ref<Counter> derived = make<DoubleCounter>(&Counter::init);
    base->add(3);
    send(derived, "add:"_sel, 3);
    EXPECT_EQ(send<int>(base, "value"_sel), 4);
    EXPECT_EQ(derived->value(), 7);
    EXPECT_TRUE(derived->isKindOfClass(Counter::objcClass()));
    EXPECT_FALSE(base->isKindOfClass(DoubleCounter::objcClass()));
    EXPECT_EQ(as<DoubleCounter>(base.get()), nullptr);
    EXPECT_TRUE(send<bool>(derived, "respondsToSelector:"_sel, "add:"_sel));
    EXPECT_FALSE(base->respondsToSelector("subtract:"_sel));
    EXPECT_EQ(send<Ref<NSString>>(base, "name"_sel)->utf8(), "counter");
}

TEST(ObjectModel, MessagesToNilDoNothingAndAnswerZero) {
    Counter* nothing = nullptr;
    send(nothing, "add:"_sel, 1);
    EXPECT_EQ(send<int>(nothing, "value"_sel), 0);
    EXPECT_FALSE(send<Ref<NSString>>(nothing, "name"_sel));
    EXPECT_EQ(send<double>(nothing, "value"_sel), 0.0);
    nothing->add(1); // wrappers send, so they answer as a message to nil does
    EXPECT_EQ(nothing->value(), 0);
    EXPECT_FALSE(nothing->name());
}

// A subclass made at run time, with an ivar and an initialiser of its own.
NSObject* initWithTen(id self, SEL) {
    auto* counter =
        static_cast<Counter*>(sendSuper<NSObject*>(self, Counter::objcClass(), "init"_sel));
    if (counter) counter->add(9);
    return counter;
}

TEST(ObjectModel, FactoriesMakeInstancesOfTheReceivingClassEvenOneMadeAtRunTime) {
    Class cls = objc_allocateClassPair(Counter::objcClass(), "TenCounter", 0);
    ASSERT_TRUE(class_addIvar(cls, "extra", sizeof(double), 3, "d"));
    class_addMethod(cls, "init"_sel, toIMP(&initWithTen), "@@:");
    objc_registerClassPair(cls);
    Ivar extra = class_getInstanceVariable(cls, "extra");
    ASSERT_GE(static_cast<std::size_t>(ivar_getOffset(extra)), sizeof(Counter));

    long before = liveObjects<Counter>();
    Ref<Counter> made = send<Ref<Counter>>(cls, "counter"_sel);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->objectClass(), cls);
    EXPECT_EQ(made->value(), 10) << "the subclass's initialiser ran, by message";
    auto* slot =
        reinterpret_cast<double*>(reinterpret_cast<char*>(made.get()) + ivar_getOffset(extra));
    EXPECT_EQ(*slot, 0.0) << "ivars start zeroed";
    *slot = 2.5;
    EXPECT_EQ(made->retainCount(), 1);
    EXPECT_EQ(liveObjects<Counter>(), before + 1);
    made = nullptr;
    EXPECT_EQ(liveObjects<Counter>(), before);
}

// The last reference destroys the object; so does an initialiser answering nil.
TEST(ObjectModel, ReferenceCountingDestroysTheObjectWithTheLastReference) {
    long counters = liveObjects<Counter>();
    EXPECT_FALSE(make<Counter>(&Counter::initFailing));
    EXPECT_EQ(liveObjects<Counter>(), counters);
    long before = liveObjects("DoubleCounter");
    {
        Ref<DoubleCounter> a = make<DoubleCounter>(&Counter::init);
        Ref<Counter> b = a;
        EXPECT_EQ(a->retainCount(), 2);
        a = nullptr;
        EXPECT_EQ(b->retainCount(), 1);
        EXPECT_EQ(liveObjects("DoubleCounter"), before + 1);
    }
    EXPECT_EQ(liveObjects("DoubleCounter"), before);
    EXPECT_EQ(liveObjects("NoSuchClass"), 0);
}

TEST(ObjectModel, LiteralStringsAreSharedAndImmortal) {
    NSString* first = "TVLSWitch1"_ns;
    NSString* again = "TVLSWitch1"_ns;
    EXPECT_EQ(first, again);
    first->release();
    first->release();
    EXPECT_EQ(again->utf8(), "TVLSWitch1");
}

TEST(ObjectModel, ClassesRegisterOnceWhenManyThreadsAskFirst) {
    std::vector<std::thread> threads;
    std::vector<Class> seen(8);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { seen[i] = DoubleCounter::objcClass(); });
    for (auto& t : threads)
        t.join();
    for (Class c : seen)
        EXPECT_EQ(c, seen[0]);
}

using ObjectModelDeathTest = ::testing::Test;

TEST_F(ObjectModelDeathTest, UnrecognisedMessageNamesClassAndSelector) {
    Ref<Counter> counter = Counter::counter();
    EXPECT_DEATH(send(counter, "fly:"_sel, 1), "-\\[Counter fly:\\]: unrecognized selector");
    IMP forwarder = class_getMethodImplementation(Counter::objcClass(), "fly"_sel);
    EXPECT_DEATH(fromIMP<void(id, SEL)>(forwarder)(counter, "fly"_sel), "Counter fly");
}

namespace clash {
// Another C++ class that claims the runtime name "Counter".
struct Counter : NSObject {
    OBJC_CLASS(Counter, NSObject)
    double extra = 0;
};
OBJC_IMPLEMENT_CLASS(Counter)
} // namespace clash

TEST_F(ObjectModelDeathTest, TwoLayoutsUnderOneClassNameAreAnError) {
    Counter::objcClass();
    EXPECT_DEATH(clash::Counter::objcClass(), "class Counter is declared twice");
}

TEST_F(ObjectModelDeathTest, MismatchedSignatureIsAClearErrorInCheckedBuilds) {
#ifndef TAVELIN_CHECKED
    GTEST_SKIP() << "signatures are checked only in checked builds";
#else
    Ref<Counter> counter = Counter::counter();
    EXPECT_DEATH(send(counter, "add:"_sel, 1.5),
                 "-\\[Counter add:\\] sent with signature \"v@:d\", but the method's type encoding "
                 "is \"v@:i\"");
#endif
}
