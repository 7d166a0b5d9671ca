// The preferences screen: a grouped table controller that shows a fixed list
// of sections, hands every cell and section its tint colour (and every cell's
// setting the settings file path) when it is about to appear, and passes a
// tap on a row to the row's cell.
#pragma once

#include "Foundation/NSArray.h"
#include "KLPreferences/KLPCell.h"
#include "KLPreferences/KLPSection.h"
#include "UIKit/UITableViewController.h"

struct KLPreferences : UITableViewController {
    OBJC_CLASS(KLPreferences, UITableViewController)

    OBJC_CLASS_METHOD(Ref<KLPreferences>, tableWithSections,
                      "tableWithSections:title:tintColor:", NSArray*, NSString*, UIColor*)
    OBJC_METHOD(KLPreferences*, initTableWithSections, "initTableWithSections:", NSArray*)

    OBJC_PROPERTY(UIColor*, tintUIColor, setTintUIColor)
    OBJC_PROPERTY(NSArray*, sections, setSections)
    OBJC_PROPERTY(NSString*, plistPath, setPlistPath)

    OBJC_METHOD(void, updateTintColors, "updateTintColors")
    // The cell at the path, or nil for a path outside the sections or an
    // element that is no preference cell.
    OBJC_METHOD(KLPCell*, cellForIndexPath, "cellForIndexPath:", NSIndexPath*)

    OBJC_OVERRIDE(void, viewWillAppear, "viewWillAppear:", bool)
    OBJC_OVERRIDE(void, viewDidDisappear, "viewDidDisappear:", bool)
    OBJC_OVERRIDE(long, numberOfSectionsInTableView, "numberOfSectionsInTableView:", UITableView*)
    OBJC_OVERRIDE(long, tableView_numberOfRowsInSection,
                  "tableView:numberOfRowsInSection:", UITableView*, long)
    OBJC_METHOD(Ref<NSString>, tableView_titleForHeaderInSection,
                "tableView:titleForHeaderInSection:", UITableView*, long)
    OBJC_METHOD(Ref<NSString>, tableView_titleForFooterInSection,
                "tableView:titleForFooterInSection:", UITableView*, long)
    OBJC_METHOD(CGFloat, tableView_heightForRowAtIndexPath,
                "tableView:heightForRowAtIndexPath:", UITableView*, NSIndexPath*)
    OBJC_OVERRIDE(Ref<UITableViewCell>, tableView_cellForRowAtIndexPath,
                  "tableView:cellForRowAtIndexPath:", UITableView*, NSIndexPath*)
    OBJC_METHOD(void, tableView_didSelectRowAtIndexPath,
                "tableView:didSelectRowAtIndexPath:", UITableView*, NSIndexPath*)

  private:
    KLPSection* sectionAt(long index) const;
    void clearSelection();

    Ref<NSArray> _sections;
    Ref<NSString> _plistPath;
    Ref<UIColor> _tintUIColor;
};
