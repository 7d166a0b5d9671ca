#include "KLPreferences/KLPValueCell.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPValueCell> KLPValueCell::cellWithTitleImp(Class cls, NSString* title, NSString* detail) {
    return make<KLPValueCell>(cls, &KLPValueCell::init_cellWithTitle, title, detail);
}

KLPValueCell* KLPValueCell::init_cellWithTitleImp(NSString* title, NSString* detail) {
    if (!initWithTitle(title, nullptr)) return nullptr;
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    detailTextLabel()->setText(detail);
    return this;
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPValueCell)
