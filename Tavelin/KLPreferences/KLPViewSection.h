// A section that holds exactly one view cell, built from a client's init and
// layout blocks, with no separators, no accessory and no highlight.
#pragma once

#include "KLPreferences/KLPSection.h"
#include "KLPreferences/KLPViewCell.h"

struct KLPViewSection : KLPSection {
    OBJC_CLASS(KLPViewSection, KLPSection)

    using Block = KLPViewCell::Block;

    OBJC_CLASS_METHOD(Ref<KLPViewSection>, sectionWithHeight,
                      "sectionWithHeight:initBlock:layoutBlock:", int, Block, Block)
    // Absent blocks are skipped when the cell would call them.
    OBJC_METHOD(KLPViewSection*, initWithHeight, "initWithHeight:initBlock:layoutBlock:", int,
                Block, Block)

    OBJC_PROPERTY(Block, cellBlock, setCellBlock)

  private:
    Block _cellBlock;
};
