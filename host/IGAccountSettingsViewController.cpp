#include "host/IGAccountSettingsViewController.h"

#include <array>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"

namespace {

constexpr std::array<const char*, 4> kRows = {"Edit Profile", "Notifications",
                                              "Privacy and Security", "Log Out"};

} // namespace

Ref<IGAccountSettingsViewController> IGAccountSettingsViewController::controllerImp(Class cls) {
    return make<IGAccountSettingsViewController>(
        cls, &IGAccountSettingsViewController::initWithStyle, long{UITableViewStyleGrouped});
}

void IGAccountSettingsViewController::viewDidLoadImp() {
    sendSuper(this, UITableViewController::objcClass(), "viewDidLoad"_sel);
    setTitle("Settings"_ns);
    Ref<UIBarButtonItem> done =
        make<UIBarButtonItem>(&UIBarButtonItem::initWithTitle, "Done"_ns,
                              long{UIBarButtonItemStyleDone}, static_cast<id>(this), "done:"_sel);
    navigationItem()->setRightBarButtonItem(done);
}

void IGAccountSettingsViewController::doneImp(id) {
    send<Ref<UIViewController>>(navigationController().get(), "popViewControllerAnimated:"_sel,
                                true);
}

long IGAccountSettingsViewController::numberOfSectionsInTableViewImp(UITableView*) {
    return 1;
}

long IGAccountSettingsViewController::tableView_numberOfRowsInSectionImp(UITableView*,
                                                                         long section) {
    return section == 0 ? static_cast<long>(kRows.size()) : 0;
}

Ref<UITableViewCell>
IGAccountSettingsViewController::tableView_cellForRowAtIndexPathImp(UITableView*,
                                                                    NSIndexPath* path) {
    Ref<UITableViewCell> cell =
        UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr);
    if (path && path->row() >= 0 && path->row() < static_cast<long>(kRows.size()))
        cell->textLabel()->setText(NSString::string(kRows[static_cast<std::size_t>(path->row())]));
    cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    return cell;
}

OBJC_IMPLEMENT_CLASS(IGAccountSettingsViewController)
