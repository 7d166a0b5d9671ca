#include <gtest/gtest.h>

#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

struct Listener : NSObject {
    OBJC_CLASS(Listener, NSObject)
    void heard(NSNotification* note) {
        names.push_back(note->name() ? note->name()->utf8() : "(nil)");
        if (leaveOnFirst) NSNotificationCenter::defaultCenter()->removeObserver(this);
    }
    std::vector<std::string> names;
    bool leaveOnFirst = false;
};

} // namespace

const ClassInfo& Listener::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<Listener>().method<"heard:", &Listener::heard>().build();
    return info;
}

TEST(NotificationCenter, DeliversByNameAndObjectAndNilNamesReachEveryNameObservers) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    Ref<Listener> named = make<Listener>(&NSObject::init),
                  everything = make<Listener>(&NSObject::init),
                  fromSender = make<Listener>(&NSObject::init);
    Ref<NSObject> sender = "sender"_ns;
    center->addObserver(named, "heard:"_sel, "Ping"_ns, nullptr);
    center->addObserver(everything, "heard:"_sel, nullptr, nullptr);
    center->addObserver(fromSender, "heard:"_sel, "Ping"_ns, sender);
    center->postNotificationName(NSString::string("Ping"), nullptr);
    center->postNotificationName("Pong"_ns, sender);
    center->postNotificationName(nullptr, sender);
    center->postNotificationName("Ping"_ns, sender);
    EXPECT_EQ(named->names, (std::vector<std::string>{"Ping", "Ping"}));
    EXPECT_EQ(everything->names, (std::vector<std::string>{"Ping", "Pong", "(nil)", "Ping"}));
    EXPECT_EQ(fromSender->names, (std::vector<std::string>{"Ping"}));
    for (Listener* listener : {named.get(), everything.get(), fromSender.get()})
        center->removeObserver(listener);
}

// Another name leaves an observer; an observer may remove itself or others during a post.
TEST(NotificationCenter, ObserversRunUntilRemovedEvenFromInsideAPost) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    Ref<Listener> leaving = make<Listener>(&NSObject::init);
    leaving->leaveOnFirst = true;
    int calls = 0, later = 0;
    Ref<NSObject> second;
    Ref<NSObject> first = center->addObserverForName("Go"_ns, nullptr, [&](NSNotification*) {
        ++calls;
        center->removeObserver(second);
    });
    center->addObserver(leaving, "heard:"_sel, "Go"_ns, nullptr);
    second = center->addObserverForName("Go"_ns, nullptr, [&](NSNotification*) { ++later; });
    center->postNotificationName("Go"_ns, nullptr);
    center->removeObserver(first, "Stop"_ns, nullptr);
    center->postNotificationName("Go"_ns, nullptr);
    center->removeObserver(first);
    center->postNotificationName("Go"_ns, nullptr);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(leaving->names.size(), 1u);
    EXPECT_EQ(later, 0);
    EXPECT_FALSE(center->addObserverForName("Go"_ns, nullptr, {}));
}
