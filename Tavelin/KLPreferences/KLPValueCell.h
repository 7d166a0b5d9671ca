// A read-only row: the title on the left, a detail text on the right.
#pragma once

#include "KLPreferences/KLPCell.h"

struct KLPValueCell : KLPCell {
    OBJC_CLASS(KLPValueCell, KLPCell)

    OBJC_CLASS_METHOD(Ref<KLPValueCell>, cellWithTitle, "cellWithTitle:detail:", NSString*,
                      NSString*)
    OBJC_METHOD(KLPValueCell*, init_cellWithTitle, "cellWithTitle:detail:", NSString*, NSString*)
};
