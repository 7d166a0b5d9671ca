// A row of custom views: built once by an init block, laid out by a layout
// block after every layout pass. With hideSeperators on, subviews exactly one
// device pixel high (separator lines) are refused.
#pragma once

#include <functional>

#include "KLPreferences/KLPCell.h"

struct KLPViewCell : KLPCell {
    OBJC_CLASS(KLPViewCell, KLPCell)

    using Block = std::function<void(UITableViewCell*)>;

    static Ref<KLPViewCell> cellWithHeight(int height, Block initBlock, Block layoutBlock);
    // An absent init block is skipped.
    KLPViewCell* init_cellWithHeight(int height, Block initBlock, Block layoutBlock);

    const Block& layoutBlock() const { return _layoutBlock; }
    void setLayoutBlock(Block block) { _layoutBlock = std::move(block); }
    bool hideSeperators() const { return _hideSeperators; }
    void setHideSeperators(bool hide) { _hideSeperators = hide; }

    // Messages.
    void layoutSubviews();
    void addSubview(UIView* view);

  private:
    bool _hideSeperators = false;
    Block _layoutBlock;
};
