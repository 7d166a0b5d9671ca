// Where a table's parts go: rows stacked per section, with header and footer
// texts between them. Grouped sections stand in from the sides (inset,
// rounded groups); plain rows span the table's width.
#pragma once

#include <string>
#include <vector>

#include "UIKit/CGGeometry.h"

struct TextStyle;
struct UITableView;

struct TableSectionLayout {
    // Header and footer texts as shown (the header in capitals).
    std::string header;
    std::string footer;
    CGRect headerRect{};
    CGRect footerRect{};
    std::vector<CGRect> rows;
};

struct TableLayout {
    std::vector<TableSectionLayout> sections;
    CGFloat contentHeight = 0;
};

// The style that section headers and footers are set in.
TextStyle sectionTextStyle();

// Row heights come through the table's own path (delegate, row height),
// header and footer heights from their texts set at the table's width.
TableLayout computeTableLayout(UITableView* table);
