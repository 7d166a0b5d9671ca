// Fixtures: a fresh device root and defaults store, a 320 x 480 screen at
// scale 2, the notifications posted and change blocks run, in order, and a
// preferences screen showing given cells.
#pragma once

#include "Foundation/NSNotificationCenter.h"
#include "KLPreferences/KLPSection.h"
#include "KLPreferences/KLPreferences.h"
#include "UIKit/UIControl.h"
#include "tests/platform/UIKit/Support.h"

namespace fixtures {

class CellTest : public uikit_support::ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        token_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            nullptr, nullptr, [this](NSNotification* note) {
                if (!text(note->name()).starts_with("NSUserDefaults"))
                    events.push_back("post " + text(note->name()) + " " + label(note->object()));
            });
    }
    void TearDown() override {
        NSNotificationCenter::defaultCenter()->removeObserver(token_);
        navigation = nullptr;
        ScreenTest::TearDown();
    }

    // A string's text, "(nil)" for nil or an object that is no string.
    static std::string text(NSObject* object) {
        NSString* string = as<NSString>(object);
        return string ? string->utf8() : "(nil)";
    }
    // "control" for a control, else the object's description.
    static std::string label(NSObject* object) {
        if (as<UIControl>(object)) return "control";
        return object ? describe(object)->utf8() : "(nil)";
    }
    static Ref<NSArray> strings(std::initializer_list<const char*> texts) {
        Ref<NSMutableArray> array = NSMutableArray::array();
        for (const char* one : texts)
            array->addObject(NSString::string(one));
        return array;
    }
    static Ref<KLPSettings> setting(const char* key, NSObject* defaultValue = nullptr) {
        return KLPSettings::settingsWithKey(NSString::string(key), defaultValue);
    }
    // What the store holds itself under the key, registered defaults left out.
    static Ref<NSObject> stored(const char* key) {
        return NSUserDefaults::standardUserDefaults()->persistentDomain()->objectForKey(
            NSString::string(key));
    }
    // Every row of a screen, section by section.
    static std::vector<KLPCell*> rows(KLPreferences* screen) {
        std::vector<KLPCell*> all;
        for (NSObject* section : *screen->sections())
            for (NSObject* cell : *static_cast<KLPSection*>(section)->cells())
                all.push_back(static_cast<KLPCell*>(cell));
        return all;
    }
    static Ref<NSIndexPath> row(long r) { return NSIndexPath::indexPathForRow(r, 0); }

    // A change block that records "block <argument>".
    KLPCell::ValueChangedBlock record() {
        return [this](NSObject* argument) { events.push_back("block " + label(argument)); };
    }

    // A preferences screen titled "Prefs" of one section holding the cells,
    // optionally on a navigation stack, with its rows loaded.
    Ref<KLPreferences> show(std::initializer_list<KLPCell*> cells, bool onNavigationStack = false) {
        Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
        for (KLPCell* cell : cells)
            section->addCell(cell);
        Ref<KLPreferences> table = KLPreferences::tableWithSections(
            NSArray::arrayWithObjects({section.get()}), "Prefs"_ns, nullptr);
        if (onNavigationStack)
            navigation = UINavigationController::navigationControllerWithRootViewController(table);
        table->tableView()->layoutIfNeeded();
        return table;
    }

    std::vector<std::string> events;
    Ref<UINavigationController> navigation;

  private:
    Ref<NSObject> token_;
};

} // namespace fixtures
