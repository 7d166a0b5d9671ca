#include "KLPreferences/KLPLinkCell.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPLinkCell> KLPLinkCell::cellWithTitle(NSString* title, ValueChangedBlock selectedBlock) {
    return make<KLPLinkCell>(&KLPLinkCell::init_cellWithTitle, title, std::move(selectedBlock));
}

KLPLinkCell* KLPLinkCell::init_cellWithTitle(NSString* title, ValueChangedBlock selectedBlock) {
    if (!initWithTitle(title, nullptr)) return nullptr;
    setValueChanged(std::move(selectedBlock));
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    return this;
}

void KLPLinkCell::didSelectFromTable(UITableViewController* table) {
    Ref<KLPLinkCell> keep = this;
    deselectRowInTable(table);
    if (ValueChangedBlock block = valueChanged()) block(this);
}

const ClassInfo& KLPLinkCell::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<KLPLinkCell>()
            .method<"didSelectFromTable:", &KLPLinkCell::didSelectFromTable>()
            .method<"layoutSubviews", &KLPLinkCell::layoutSubviews>()
            .build();
    return info;
}
