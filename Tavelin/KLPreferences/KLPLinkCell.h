// A row with a disclosure indicator that runs a block (kept in valueChanged)
// with the cell when it is tapped.
#pragma once

#include "KLPreferences/KLPCell.h"

struct KLPLinkCell : KLPCell {
    OBJC_CLASS(KLPLinkCell, KLPCell)

    OBJC_CLASS_METHOD(Ref<KLPLinkCell>, cellWithTitle, "cellWithTitle:selectedBlock:", NSString*,
                      ValueChangedBlock)
    OBJC_METHOD(KLPLinkCell*, init_cellWithTitle, "cellWithTitle:selectedBlock:", NSString*,
                ValueChangedBlock)

    OBJC_OVERRIDE(void, didSelectFromTable, "didSelectFromTable:", UITableViewController*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
};
