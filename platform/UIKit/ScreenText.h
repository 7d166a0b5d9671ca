// A screen as text, for terminals and tests: the navigation bar (back button,
// title, bar buttons), then for a table each section's header, each row
// (title, detail, accessory or the state that the accessory view describes
// through its screenText message) and each footer; for other screens the
// text that their views describe.
//
//   < Settings | Tavelin | [heart.png]
//
//   == Tavelin Preferences ==
//     Velin Mode  [off]
//       Explore Instagram timeline ...
#pragma once

#include "Foundation/NSString.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIViewController.h"

struct ScreenTextOptions {
    // Each row starts with its number on the screen, from 1 ("  3. Title").
    bool numberRows = false;
};

// What the controller shows: what it presents, the top of a navigation
// stack, or itself.
Ref<NSString> screenText(UIViewController* controller, ScreenTextOptions options = {});
Ref<NSString> screenTextOfTable(UITableView* table, ScreenTextOptions options = {});
