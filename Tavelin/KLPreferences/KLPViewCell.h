// A row of custom views: built once by an init block, laid out by a layout
// block after every layout pass. With hideSeperators on, subviews exactly one
// device pixel high (separator lines) are refused.
#pragma once

#include <functional>

#include "KLPreferences/KLPCell.h"

struct KLPViewCell : KLPCell {
    OBJC_CLASS(KLPViewCell, KLPCell)

    using Block = std::function<void(UITableViewCell*)>;

    OBJC_CLASS_METHOD(Ref<KLPViewCell>, cellWithHeight,
                      "cellWithHeight:initBlock:layoutBlock:", int, Block, Block)
    // An absent init block is skipped.
    OBJC_METHOD(KLPViewCell*, init_cellWithHeight, "cellWithHeight:initBlock:layoutBlock:", int,
                Block, Block)

    OBJC_PROPERTY(Block, layoutBlock, setLayoutBlock)
    OBJC_PROPERTY(bool, hideSeperators, setHideSeperators)

    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
    OBJC_OVERRIDE(void, addSubview, "addSubview:", UIView*)

  private:
    bool _hideSeperators = false;
    Block _layoutBlock;
};
