#include "KLPreferences/KLPLinkCell.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPLinkCell> KLPLinkCell::cellWithTitleImp(Class cls, NSString* title,
                                               ValueChangedBlock selectedBlock) {
    return make<KLPLinkCell>(cls, &KLPLinkCell::init_cellWithTitle, title,
                             std::move(selectedBlock));
}

KLPLinkCell* KLPLinkCell::init_cellWithTitleImp(NSString* title, ValueChangedBlock selectedBlock) {
    if (!initWithTitle(title, nullptr)) return nullptr;
    setValueChanged(std::move(selectedBlock));
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    return this;
}

void KLPLinkCell::didSelectFromTableImp(UITableViewController* table) {
    Ref<KLPLinkCell> keep = this;
    deselectRowInTable(table);
    if (ValueChangedBlock block = valueChanged()) block(this);
}

void KLPLinkCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPLinkCell)
