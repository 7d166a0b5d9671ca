// A one-section table of display texts with a checkmark at the current value.
// Choosing a row hands its text to itemChanged, records the row's value as
// the current one and, with popView, closes the list.
//
// Decisions where the data alone would break the table:
// - items and values of different lengths are cut to the shorter length;
// - values compare with isEqual: (strings as strings); the checkmark marks
//   every row whose value is currentValue, when rows are built and after a
//   choice, so a row built again keeps it;
// - a chosen row records the value of the first row with the same text (the
//   value that a list cell stores for that text) as currentValue.
// Shown without a navigation controller of its own, the list comes wrapped in
// one with a "Done" button that dismisses it (see showFrom).
#pragma once

#include <functional>

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "UIKit/UIColor.h"
#include "UIKit/UITableViewController.h"

struct KLPSelectListTable : UITableViewController {
    OBJC_CLASS(KLPSelectListTable, UITableViewController)

    using ChangeBlock = std::function<void(NSString*)>;
    using ItemChangedBlock = std::function<void(NSObject*)>;

    OBJC_METHOD(KLPSelectListTable*, initWithStyle,
                "initWithStyle:title:items:values:currentValue:popViewOnSelect:changeBlock:", long,
                NSString*, NSArray*, NSArray*, NSObject*, bool, ChangeBlock)

    OBJC_PROPERTY(ItemChangedBlock, itemChanged, setItemChanged)
    OBJC_PROPERTY(UIColor*, tintUIColor, setTintUIColor)

    OBJC_OVERRIDE(void, viewDidLoad, "viewDidLoad")
    OBJC_OVERRIDE(long, numberOfSectionsInTableView, "numberOfSectionsInTableView:", UITableView*)
    OBJC_OVERRIDE(long, tableView_numberOfRowsInSection,
                  "tableView:numberOfRowsInSection:", UITableView*, long)
    OBJC_OVERRIDE(Ref<UITableViewCell>, tableView_cellForRowAtIndexPath,
                  "tableView:cellForRowAtIndexPath:", UITableView*, NSIndexPath*)
    OBJC_METHOD(void, tableView_didSelectRowAtIndexPath,
                "tableView:didSelectRowAtIndexPath:", UITableView*, NSIndexPath*)
    OBJC_METHOD(void, didReceiveMemoryWarning, "didReceiveMemoryWarning")
    // The "Done" button's action.
    OBJC_METHOD(void, done, "done:", NSObject*)

    // C++ helpers (not messages).
    // Pushes the list onto the presenter's navigation controller, animated;
    // without one the presenter shows it modally in a navigation controller
    // of its own, with a "Done" left bar button. It reads the way the
    // presenter's screen does (right to left or not).
    void showFrom(UIViewController* presenter);
    // Pops the list off its navigation controller, or dismisses the modal
    // presentation that shows it.
    void close();
    // Cuts both arrays to the length of the shorter one; nil becomes empty.
    static void cutToCommonLength(Ref<NSArray>& items, Ref<NSArray>& values);

  private:
    long accessoryForRow(long row) const;
    void presentWrappedFrom(UIViewController* presenter);

    Ref<NSArray> listItems;
    Ref<NSArray> listValues;
    Ref<NSObject> currentValue;
    Ref<NSString> pageTitle;
    bool popView = false;
    ItemChangedBlock _itemChanged;
    Ref<UIColor> _tintUIColor;
};
