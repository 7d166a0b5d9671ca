// The host's account settings screen: a grouped table of account rows, with
// a "Done" button of its own at the right of the navigation bar (it goes
// back). Its rows do nothing when tapped.
#pragma once

#include "UIKit/UITableViewController.h"

struct IGAccountSettingsViewController : UITableViewController {
    OBJC_CLASS(IGAccountSettingsViewController, UITableViewController)

    OBJC_CLASS_METHOD(Ref<IGAccountSettingsViewController>, controller, "controller")
    OBJC_METHOD(void, done, "done:", id)
    OBJC_OVERRIDE(void, viewDidLoad, "viewDidLoad")
    OBJC_OVERRIDE(long, numberOfSectionsInTableView, "numberOfSectionsInTableView:", UITableView*)
    OBJC_OVERRIDE(long, tableView_numberOfRowsInSection,
                  "tableView:numberOfRowsInSection:", UITableView*, long)
    OBJC_OVERRIDE(Ref<UITableViewCell>, tableView_cellForRowAtIndexPath,
                  "tableView:cellForRowAtIndexPath:", UITableView*, NSIndexPath*)
};
