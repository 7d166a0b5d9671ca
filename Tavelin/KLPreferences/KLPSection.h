// A group of preference cells under an optional header and footer title.
// Never displayed itself: the table controller shows its titles and cells.
#pragma once

#include "Foundation/NSArray.h"
#include "KLPreferences/KLPCell.h"
#include "UIKit/UITableViewCell.h"

struct KLPSection : UITableViewCell {
    OBJC_CLASS(KLPSection, UITableViewCell)

    OBJC_CLASS_METHOD(Ref<KLPSection>, sectionWithTitle, "sectionWithTitle:footer:", NSString*,
                      NSString*)
    OBJC_METHOD(KLPSection*, initWithTitle, "initWithTitle:footer:", NSString*, NSString*)

    // nil is refused: the cells stay as they were.
    OBJC_METHOD(void, addCell, "addCell:", KLPCell*)
    OBJC_METHOD(void, addCells, "addCells:", NSArray*)

    OBJC_PROPERTY(NSString*, headerTitle, setHeaderTitle)
    OBJC_PROPERTY(NSString*, footerTitle, setFooterTitle)
    OBJC_PROPERTY(NSMutableArray*, cells, setCells)
    OBJC_PROPERTY(UIColor*, tintUIColor, setTintUIColor)

  private:
    Ref<NSString> _headerTitle;
    Ref<NSString> _footerTitle;
    Ref<NSMutableArray> _cells;
    Ref<UIColor> _tintUIColor;
};
