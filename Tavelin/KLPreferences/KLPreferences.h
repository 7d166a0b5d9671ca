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

    static Ref<KLPreferences> tableWithSections(NSArray* sections, NSString* title,
                                                UIColor* tintColor);
    KLPreferences* initTableWithSections(NSArray* sections);

    UIColor* tintUIColor() const { return _tintUIColor; }
    void setTintUIColor(UIColor* color) { _tintUIColor = color; }
    NSArray* sections() const { return _sections; }
    void setSections(NSArray* sections) { _sections = sections; }
    NSString* plistPath() const { return _plistPath; }
    void setPlistPath(NSString* path) { _plistPath = path; }

    void updateTintColors();
    // The cell at the path, or nil for a path outside the sections or an
    // element that is no preference cell.
    KLPCell* cellForIndexPath(const NSIndexPath* path) const;

    // Messages.
    void viewWillAppear(bool animated);
    void viewDidDisappear(bool animated);
    long numberOfSectionsInTableView(UITableView* tableView);
    long tableView_numberOfRowsInSection(UITableView* tableView, long section);
    Ref<NSString> tableView_titleForHeaderInSection(UITableView* tableView, long section);
    Ref<NSString> tableView_titleForFooterInSection(UITableView* tableView, long section);
    CGFloat tableView_heightForRowAtIndexPath(UITableView* tableView, NSIndexPath* path);
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView* tableView, NSIndexPath* path);
    void tableView_didSelectRowAtIndexPath(UITableView* tableView, NSIndexPath* path);

  private:
    KLPSection* sectionAt(long index) const;
    void clearSelection();

    Ref<NSArray> _sections;
    Ref<NSString> _plistPath;
    Ref<UIColor> _tintUIColor;
};
