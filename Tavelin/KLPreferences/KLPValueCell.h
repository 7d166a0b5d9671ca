// A read-only row: the title on the left, a detail text on the right.
#pragma once

#include "KLPreferences/KLPCell.h"

struct KLPValueCell : KLPCell {
    OBJC_CLASS(KLPValueCell, KLPCell)

    static Ref<KLPValueCell> cellWithTitle(NSString* title, NSString* detail);
    KLPValueCell* init_cellWithTitle(NSString* title, NSString* detail);
};
