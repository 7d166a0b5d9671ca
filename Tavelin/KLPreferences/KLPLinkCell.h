// A row with a disclosure indicator that runs a block (kept in valueChanged)
// with the cell when it is tapped.
#pragma once

#include "KLPreferences/KLPCell.h"

struct KLPLinkCell : KLPCell {
    OBJC_CLASS(KLPLinkCell, KLPCell)

    static Ref<KLPLinkCell> cellWithTitle(NSString* title, ValueChangedBlock selectedBlock);
    KLPLinkCell* init_cellWithTitle(NSString* title, ValueChangedBlock selectedBlock);

    // Messages.
    void didSelectFromTable(UITableViewController* table);
    void layoutSubviews() { sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel); }
};
