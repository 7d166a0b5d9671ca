#include "KLPreferences/KLPViewCell.h"

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIScreen.h"

Ref<KLPViewCell> KLPViewCell::cellWithHeightImp(Class cls, int height, Block initBlock,
                                                Block layoutBlock) {
    return make<KLPViewCell>(cls, &KLPViewCell::init_cellWithHeight, height, std::move(initBlock),
                             std::move(layoutBlock));
}

KLPViewCell* KLPViewCell::init_cellWithHeightImp(int height, Block initBlock, Block layoutBlock) {
    if (!initWithTitle(nullptr, nullptr)) return nullptr;
    if (layoutBlock) setLayoutBlock(std::move(layoutBlock));
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setHeight(height);
    if (initBlock) initBlock(this);
    return this;
}

void KLPViewCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    if (Block block = layoutBlock()) block(this);
}

void KLPViewCell::addSubviewImp(UIView* view) {
    if (hideSeperators()) {
        CGFloat height = view ? CGRectGetHeight(view->frame()) : 0;
        if (height * UIScreen::mainScreen()->scale() == 1.0) return;
    }
    sendSuper(this, Super::objcClass(), "addSubview:"_sel, view);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPViewCell)
