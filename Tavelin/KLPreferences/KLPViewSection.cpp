#include "KLPreferences/KLPViewSection.h"

#include "ObjectModel/ClassBuilder.h"

namespace {

// A block that calls the client's block, which it holds.
KLPViewSection::Block wrap(KLPViewSection::Block client) {
    return [client = std::move(client)](UITableViewCell* cell) {
        if (client) client(cell);
    };
}

} // namespace

Ref<KLPViewSection> KLPViewSection::sectionWithHeightImp(Class cls, int height, Block initBlock,
                                                         Block layoutBlock) {
    return make<KLPViewSection>(cls, &KLPViewSection::initWithHeight, height, std::move(initBlock),
                                std::move(layoutBlock));
}

KLPViewSection* KLPViewSection::initWithHeightImp(int height, Block initBlock, Block layoutBlock) {
    if (!initWithTitle(nullptr, nullptr)) return nullptr;
    Ref<KLPViewCell> cell = KLPViewCell::cellWithHeight(height, wrap(std::move(initBlock)),
                                                        wrap(std::move(layoutBlock)));
    cell->setHideSeperators(true);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    addCell(cell);
    return this;
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPViewSection)
