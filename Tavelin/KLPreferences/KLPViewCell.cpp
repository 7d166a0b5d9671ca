#include "KLPreferences/KLPViewCell.h"

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIScreen.h"

Ref<KLPViewCell> KLPViewCell::cellWithHeight(int height, Block initBlock, Block layoutBlock) {
    return make<KLPViewCell>(&KLPViewCell::init_cellWithHeight, height, std::move(initBlock),
                             std::move(layoutBlock));
}

KLPViewCell* KLPViewCell::init_cellWithHeight(int height, Block initBlock, Block layoutBlock) {
    if (!initWithTitle(nullptr, nullptr)) return nullptr;
    if (layoutBlock) _layoutBlock = std::move(layoutBlock);
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setHeight(height);
    if (initBlock) initBlock(this);
    return this;
}

void KLPViewCell::layoutSubviews() {
    sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    if (Block block = _layoutBlock) block(this);
}

void KLPViewCell::addSubview(UIView* view) {
    if (_hideSeperators) {
        CGFloat height = view ? CGRectGetHeight(view->frame()) : 0;
        if (height * UIScreen::mainScreen()->scale() == 1.0) return;
    }
    sendSuper(this, UITableViewCell::objcClass(), "addSubview:"_sel, view);
}

const ClassInfo& KLPViewCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPViewCell>()
                                      .method<"layoutSubviews", &KLPViewCell::layoutSubviews>()
                                      .method<"addSubview:", &KLPViewCell::addSubview>()
                                      .build();
    return info;
}
