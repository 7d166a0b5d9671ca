// A section that holds exactly one view cell, built from a client's init and
// layout blocks, with no separators, no accessory and no highlight.
#pragma once

#include "KLPreferences/KLPSection.h"
#include "KLPreferences/KLPViewCell.h"

struct KLPViewSection : KLPSection {
    OBJC_CLASS(KLPViewSection, KLPSection)

    using Block = KLPViewCell::Block;

    static Ref<KLPViewSection> sectionWithHeight(int height, Block initBlock, Block layoutBlock);
    // Absent blocks are skipped when the cell would call them.
    KLPViewSection* initWithHeight(int height, Block initBlock, Block layoutBlock);

    const Block& cellBlock() const { return _cellBlock; }
    void setCellBlock(Block block) { _cellBlock = std::move(block); }

  private:
    Block _cellBlock;
};
