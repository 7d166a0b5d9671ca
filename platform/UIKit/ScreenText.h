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

// What the controller shows: what it presents, the top of a navigation
// stack, or itself.
Ref<NSString> screenText(UIViewController* controller);
Ref<NSString> screenTextOfTable(UITableView* table);
