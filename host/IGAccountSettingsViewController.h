// The host's account settings screen: a grouped table of account rows, with
// a "Done" button of its own at the right of the navigation bar (it goes
// back). Its rows do nothing when tapped.
#pragma once

#include "UIKit/UITableViewController.h"

struct IGAccountSettingsViewController : UITableViewController {
    OBJC_CLASS(IGAccountSettingsViewController, UITableViewController)

    static Ref<IGAccountSettingsViewController> controller();

    int viewLoads() const { return _viewLoads; }

    // Messages.
    void viewDidLoad();
    void done(id sender);
    long tableView_numberOfRowsInSection(UITableView*, long section);
    long numberOfSectionsInTableView(UITableView*) { return 1; }
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView*, NSIndexPath* path);

  private:
    int _viewLoads = 0;
};
