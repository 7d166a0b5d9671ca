// A view controller whose view is a table view that it serves as data source
// and delegate. Its data-source answers are messages (no sections at first)
// that subclasses override.
#pragma once

#include "UIKit/UITableView.h"
#include "UIKit/UIViewController.h"

struct UITableViewController : UIViewController {
    OBJC_CLASS(UITableViewController, UIViewController)

    OBJC_METHOD(UITableViewController*, initWithStyle, "initWithStyle:", long)
    // The controller's view, loaded on first use.
    OBJC_METHOD(UITableView*, tableView, "tableView")
    OBJC_OVERRIDE(void, loadView, "loadView")
    OBJC_METHOD(long, numberOfSectionsInTableView, "numberOfSectionsInTableView:", UITableView*)
    OBJC_METHOD(long, tableView_numberOfRowsInSection,
                "tableView:numberOfRowsInSection:", UITableView*, long)
    OBJC_METHOD(Ref<UITableViewCell>, tableView_cellForRowAtIndexPath,
                "tableView:cellForRowAtIndexPath:", UITableView*, NSIndexPath*)

    // +alloc, then initWithStyle:.
    static Ref<UITableViewController> controllerWithStyle(long style);
    ~UITableViewController();

  private:
    long _style = UITableViewStylePlain;
};
