#include "host/IGAccountSettingsViewController.h"

#include <array>

#include "UIKit/UINavigationController.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

constexpr std::array<const char*, 4> kRows = {"Edit Profile", "Notifications",
                                              "Privacy and Security", "Log Out"};

} // namespace

Ref<IGAccountSettingsViewController> IGAccountSettingsViewController::controller() {
    return make<IGAccountSettingsViewController>(&IGAccountSettingsViewController::initWithStyle,
                                                 long{UITableViewStyleGrouped});
}

void IGAccountSettingsViewController::viewDidLoad() {
    ++_viewLoads;
    setTitle("Settings"_ns);
    Ref<UIBarButtonItem> done =
        make<UIBarButtonItem>(&UIBarButtonItem::initWithTitle, "Done"_ns,
                              long{UIBarButtonItemStyleDone}, static_cast<id>(this), "done:"_sel);
    navigationItem()->setRightBarButtonItem(done);
}

void IGAccountSettingsViewController::done(id) {
    send<Ref<UIViewController>>(navigationController().get(), "popViewControllerAnimated:"_sel,
                                true);
}

long IGAccountSettingsViewController::tableView_numberOfRowsInSection(UITableView*, long section) {
    return section == 0 ? static_cast<long>(kRows.size()) : 0;
}

Ref<UITableViewCell>
IGAccountSettingsViewController::tableView_cellForRowAtIndexPath(UITableView*, NSIndexPath* path) {
    Ref<UITableViewCell> cell =
        UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr);
    if (path && path->row() >= 0 && path->row() < static_cast<long>(kRows.size()))
        cell->textLabel()->setText(NSString::string(kRows[static_cast<std::size_t>(path->row())]));
    cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    return cell;
}

const ClassInfo& IGAccountSettingsViewController::objcClassInfo() {
    using Self = IGAccountSettingsViewController;
    static const ClassInfo info =
        ClassBuilder<Self>()
            .method<"viewDidLoad", &Self::viewDidLoad>()
            .method<"done:", &Self::done>()
            .method<"numberOfSectionsInTableView:", &Self::numberOfSectionsInTableView>()
            .method<"tableView:numberOfRowsInSection:", &Self::tableView_numberOfRowsInSection>()
            .method<"tableView:cellForRowAtIndexPath:", &Self::tableView_cellForRowAtIndexPath>()
            .build();
    return info;
}
