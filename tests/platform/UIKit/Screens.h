// Sample screens built from UIKit alone: a table controller that serves
// sections of ready-made cells, inside a navigation controller.
#pragma once

#include <string>
#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UITableViewController.h"

namespace render_support {

struct SampleSection {
    Ref<NSString> header;
    Ref<NSString> footer;
    std::vector<Ref<UITableViewCell>> cells;
    std::vector<CGFloat> heights;
};

struct SampleTable : UITableViewController {
    OBJC_CLASS(SampleTable, UITableViewController)

    std::vector<SampleSection> sections;

    long numberOfSectionsInTableView(UITableView*) { return static_cast<long>(sections.size()); }
    long tableView_numberOfRowsInSection(UITableView*, long section) {
        return static_cast<long>(sections.at(section).cells.size());
    }
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView*, NSIndexPath* path) {
        return sections.at(path->section()).cells.at(path->row());
    }
    Ref<NSString> tableView_titleForHeaderInSection(UITableView*, long section) {
        return sections.at(section).header;
    }
    Ref<NSString> tableView_titleForFooterInSection(UITableView*, long section) {
        return sections.at(section).footer;
    }
    // Rows without a height of their own take the table's.
    CGFloat tableView_heightForRowAtIndexPath(UITableView*, NSIndexPath* path) {
        const std::vector<CGFloat>& heights = sections.at(path->section()).heights;
        return static_cast<std::size_t>(path->row()) < heights.size() ? heights[path->row()] : -1;
    }
};

inline const ClassInfo& SampleTable::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<SampleTable>()
            .method<"numberOfSectionsInTableView:", &SampleTable::numberOfSectionsInTableView>()
            .method<"tableView:numberOfRowsInSection:",
                    &SampleTable::tableView_numberOfRowsInSection>()
            .method<"tableView:cellForRowAtIndexPath:",
                    &SampleTable::tableView_cellForRowAtIndexPath>()
            .method<"tableView:titleForHeaderInSection:",
                    &SampleTable::tableView_titleForHeaderInSection>()
            .method<"tableView:titleForFooterInSection:",
                    &SampleTable::tableView_titleForFooterInSection>()
            .method<"tableView:heightForRowAtIndexPath:",
                    &SampleTable::tableView_heightForRowAtIndexPath>()
            .build();
    return info;
}

inline Ref<SampleTable> sampleTable(const char* title) {
    Ref<SampleTable> table =
        make<SampleTable>(&SampleTable::initWithStyle, UITableViewStyleGrouped);
    table->setTitle(NSString::string(title));
    return table;
}

inline Ref<UITableViewCell> cell(long style, const char* title, const char* detail = nullptr) {
    Ref<UITableViewCell> cell = UITableViewCell::cellWithStyle(style, nullptr);
    cell->textLabel()->setText(NSString::string(title));
    if (detail) cell->detailTextLabel()->setText(NSString::string(detail));
    return cell;
}

// The table pushed onto a navigation controller whose root is titled "Settings".
inline Ref<UINavigationController> onStack(UIViewController* top) {
    Ref<UIViewController> root = make<UIViewController>(&UIViewController::init);
    root->setTitle("Settings"_ns);
    Ref<UINavigationController> navigation =
        UINavigationController::navigationControllerWithRootViewController(root);
    navigation->pushViewController(top, false);
    return navigation;
}

} // namespace render_support
