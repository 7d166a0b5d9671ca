#include "KLPreferences/KLPSection.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPSection> KLPSection::sectionWithTitleImp(Class cls, NSString* headerTitle,
                                                NSString* footerTitle) {
    return make<KLPSection>(cls, &KLPSection::initWithTitle, headerTitle, footerTitle);
}

KLPSection* KLPSection::initWithTitleImp(NSString* headerTitle, NSString* footerTitle) {
    if (!initWithFrame(CGRectZero)) return nullptr;
    setHeaderTitle(headerTitle);
    setFooterTitle(footerTitle);
    setCells(NSMutableArray::array());
    return this;
}

void KLPSection::addCellImp(KLPCell* cell) {
    if (NSMutableArray* list = cells()) list->addObject(cell);
}

void KLPSection::addCellsImp(NSArray* added) {
    if (NSMutableArray* list = cells()) list->addObjectsFromArray(added);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSection)
