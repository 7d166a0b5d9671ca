#include "KLPreferences/KLPSection.h"

#include "ObjectModel/ClassBuilder.h"

Ref<KLPSection> KLPSection::sectionWithTitle(NSString* headerTitle, NSString* footerTitle) {
    return make<KLPSection>(&KLPSection::initWithTitle, headerTitle, footerTitle);
}

KLPSection* KLPSection::initWithTitle(NSString* headerTitle, NSString* footerTitle) {
    if (!UITableViewCell::initWithFrame(CGRectZero)) return nullptr;
    _headerTitle = headerTitle;
    _footerTitle = footerTitle;
    _cells = NSMutableArray::array();
    return this;
}

void KLPSection::addCell(KLPCell* cell) {
    if (_cells) _cells->addObject(cell);
}

void KLPSection::addCells(const NSArray* cells) {
    if (_cells) _cells->addObjectsFromArray(cells);
}

const ClassInfo& KLPSection::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPSection>().build();
    return info;
}
