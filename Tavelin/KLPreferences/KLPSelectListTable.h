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

    KLPSelectListTable* initWithStyle(long style, NSString* title, NSArray* items, NSArray* values,
                                      NSObject* currentValue, bool popViewOnSelect,
                                      ChangeBlock changeBlock);

    const ItemChangedBlock& itemChanged() const { return _itemChanged; }
    void setItemChanged(ItemChangedBlock block) { _itemChanged = std::move(block); }
    UIColor* tintUIColor() const { return _tintUIColor; }
    void setTintUIColor(UIColor* color) { _tintUIColor = color; }

    // Pushes the list onto the presenter's navigation controller, animated;
    // without one the presenter shows it modally in a navigation controller
    // of its own, with a "Done" left bar button.
    void showFrom(UIViewController* presenter);
    // Pops the list off its navigation controller, or dismisses the modal
    // presentation that shows it.
    void close();
    // Cuts both arrays to the length of the shorter one; nil becomes empty.
    static void cutToCommonLength(Ref<NSArray>& items, Ref<NSArray>& values);

    // Messages.
    void viewDidLoad();
    long numberOfSectionsInTableView(UITableView*) { return 1; }
    long tableView_numberOfRowsInSection(UITableView*, long) {
        return static_cast<long>(listItems->count());
    }
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView* tableView, NSIndexPath* path);
    void tableView_didSelectRowAtIndexPath(UITableView* tableView, NSIndexPath* path);
    // The "Done" button's action.
    void done(NSObject* sender);

  private:
    long accessoryForRow(long row) const;

    Ref<NSArray> listItems;
    Ref<NSArray> listValues;
    Ref<NSObject> currentValue;
    Ref<NSString> pageTitle;
    bool popView = false;
    ItemChangedBlock _itemChanged;
    Ref<UIColor> _tintUIColor;
};
