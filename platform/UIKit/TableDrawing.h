// Where a table's parts go when it is drawn: rows stacked per section, with
// header and footer texts between them, as the platform's grouped style
// places them (inset, rounded groups).
#pragma once

#include <string>
#include <vector>

#include "UIKit/UITableView.h"

struct TableSectionFrames {
    std::string header;
    std::string footer;
    CGRect headerRect{};
    CGRect footerRect{};
    std::vector<CGRect> rows;
};

struct TableFrames {
    std::vector<TableSectionFrames> sections;
    CGFloat contentHeight = 0;
};

// Row heights come through the table's own path (delegate, row height),
// header and footer heights from their texts set at the table's width.
TableFrames tableFrames(UITableView* table);
// Lays the table out, then puts each cell into its frame and lays it out.
void layoutTableForDrawing(UITableView* table);
