// A group of preference cells under an optional header and footer title.
// Never displayed itself: the table controller shows its titles and cells.
#pragma once

#include "Foundation/NSArray.h"
#include "KLPreferences/KLPCell.h"
#include "UIKit/UITableViewCell.h"

struct KLPSection : UITableViewCell {
    OBJC_CLASS(KLPSection, UITableViewCell)

    static Ref<KLPSection> sectionWithTitle(NSString* headerTitle, NSString* footerTitle);
    KLPSection* initWithTitle(NSString* headerTitle, NSString* footerTitle);

    // nil is refused: the cells stay as they were.
    void addCell(KLPCell* cell);
    void addCells(const NSArray* cells);

    NSString* headerTitle() const { return _headerTitle; }
    void setHeaderTitle(NSString* title) { _headerTitle = title; }
    NSString* footerTitle() const { return _footerTitle; }
    void setFooterTitle(NSString* title) { _footerTitle = title; }
    NSMutableArray* cells() const { return _cells; }
    void setCells(NSMutableArray* cells) { _cells = cells; }
    UIColor* tintUIColor() const { return _tintUIColor; }
    void setTintUIColor(UIColor* color) { _tintUIColor = color; }

  private:
    Ref<NSString> _headerTitle;
    Ref<NSString> _footerTitle;
    Ref<NSMutableArray> _cells;
    Ref<UIColor> _tintUIColor;
};
