#include "UIKit/UITableViewController.h"

#include "UIKit/UIScreen.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<UITableViewController> UITableViewController::controllerWithStyle(long style) {
    return make<UITableViewController>(&UITableViewController::initWithStyle, style);
}

UITableViewController* UITableViewController::initWithStyle(long style) {
    _tableStyle = style;
    return this;
}

UITableViewController::~UITableViewController() {
    // The table may outlive its controller: it must not call back into it.
    if (UITableView* table = isViewLoaded() ? as<UITableView>(view().get()) : nullptr) {
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
}

UITableView* UITableViewController::tableView() {
    return as<UITableView>(view().get());
}

void UITableViewController::loadView() {
    Ref<UITableView> table =
        UITableView::tableViewWithStyle(UIScreen::mainScreen()->bounds(), _tableStyle);
    table->setDelegate(this);
    table->setDataSource(this);
    setView(table);
}

const ClassInfo& UITableViewController::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UITableViewController>()
            .method<"loadView", &UITableViewController::loadView>()
            .method<"numberOfSectionsInTableView:",
                    &UITableViewController::numberOfSectionsInTableView>()
            .method<"tableView:numberOfRowsInSection:",
                    &UITableViewController::tableView_numberOfRowsInSection>()
            .method<"tableView:cellForRowAtIndexPath:",
                    &UITableViewController::tableView_cellForRowAtIndexPath>()
            .build();
    return info;
}
