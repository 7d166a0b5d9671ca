// A view controller whose view is a table view that it serves as data source
// and delegate. Its data-source answers are messages (no sections at first)
// that subclasses override.
#pragma once

#include "UIKit/UITableView.h"
#include "UIKit/UIViewController.h"

struct UITableViewController : UIViewController {
    OBJC_CLASS(UITableViewController, UIViewController)

    static Ref<UITableViewController> controllerWithStyle(long style);
    UITableViewController* initWithStyle(long style);
    ~UITableViewController();

    long tableStyle() const { return _tableStyle; }
    // The controller's view, loaded on first use.
    UITableView* tableView();

    // Messages.
    void loadView();
    long numberOfSectionsInTableView(UITableView*) { return 0; }
    long tableView_numberOfRowsInSection(UITableView*, long) { return 0; }
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView*, NSIndexPath*) {
        return nullptr;
    }

  private:
    long _tableStyle = UITableViewStylePlain;
};
