#include "UIKit/UITableViewController.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIScreen.h"

Ref<UITableViewController> UITableViewController::controllerWithStyle(long style) {
    return make<UITableViewController>(&UITableViewController::initWithStyle, style);
}

UITableViewController* UITableViewController::initWithStyleImp(long style) {
    if (!sendSuper<NSObject*>(this, UIViewController::objcClass(), "init"_sel)) return nullptr;
    _style = style;
    return this;
}

UITableViewController::~UITableViewController() {
    // The table may outlive its controller: it must not call back into it.
    if (UITableView* table = as<UITableView>(viewIfLoaded())) {
        table->setDataSource(nullptr);
        table->setDelegate(nullptr);
    }
}

UITableView* UITableViewController::tableViewImp() {
    return as<UITableView>(view().get());
}

void UITableViewController::loadViewImp() {
    Ref<UITableView> table =
        UITableView::tableViewWithStyle(UIScreen::mainScreen()->bounds(), _style);
    table->setDelegate(this);
    table->setDataSource(this);
    setView(table);
}

long UITableViewController::numberOfSectionsInTableViewImp(UITableView*) {
    return 0;
}

long UITableViewController::tableView_numberOfRowsInSectionImp(UITableView*, long) {
    return 0;
}

Ref<UITableViewCell> UITableViewController::tableView_cellForRowAtIndexPathImp(UITableView*,
                                                                               NSIndexPath*) {
    return nullptr;
}

OBJC_IMPLEMENT_LOADED_CLASS(UITableViewController)
