// Fixtures: a fresh device root and defaults store, a 320 x 480 screen, and a
// preferences screen on a navigation stack whose notifications are recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "KLPreferences/KLPSection.h"
#include "KLPreferences/KLPreferences.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "tests/platform/Foundation/TempRoot.h"

namespace fixtures {

// A string's text, "(nil)" for nil or an object that is no string.
inline std::string text(NSObject* object) {
    NSString* string = as<NSString>(object);
    return string ? string->utf8() : "(nil)";
}

class CellTest : public testing_support::TempRootTest {
  protected:
    void SetUp() override {
        TempRootTest::SetUp();
        UIScreen::mainScreen()->setScale(2.0);
        UIScreen::mainScreen()->setSize({320, 480});
        token_ = NSNotificationCenter::defaultCenter()->addObserverForName(
            nullptr, nullptr, [this](NSNotification* note) {
                if (note->name() && note->name()->utf8().starts_with("NSUserDefaults")) return;
                posted.emplace_back(note);
            });
    }
    void TearDown() override {
        NSNotificationCenter::defaultCenter()->removeObserver(token_);
        posted.clear();
        TempRootTest::TearDown();
    }

    // A preferences screen of one section holding `cell`, optionally on a
    // navigation stack, with its rows loaded.
    Ref<KLPreferences> showInTable(KLPCell* cell, bool onNavigationStack) {
        Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
        section->addCell(cell);
        Ref<KLPreferences> table = KLPreferences::tableWithSections(
            NSArray::arrayWithObjects({section.get()}), "Prefs"_ns, nullptr);
        if (onNavigationStack)
            navigation = UINavigationController::navigationControllerWithRootViewController(table);
        table->tableView()->layoutIfNeeded();
        return table;
    }

    std::vector<Ref<NSNotification>> posted;
    Ref<UINavigationController> navigation;

  private:
    Ref<NSObject> token_;
};

} // namespace fixtures
