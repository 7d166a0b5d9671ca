#include "KLPreferences/KLPCell.h"

#include "Foundation/NSNotificationCenter.h"
#include "ObjectModel/ClassBuilder.h"

Ref<KLPCell> KLPCell::cellWithTitle(NSString* title, KLPSettings* setting) {
    return make<KLPCell>(&KLPCell::initWithTitle, title, setting);
}

KLPCell* KLPCell::initWithTitle(NSString* title, KLPSettings* setting) {
    if (!initWithStyle(UITableViewCellStyleValue1, nullptr)) return nullptr;
    setClipsToBounds(true);
    textLabel()->setText(title);
    _setting = setting;
    return this;
}

void KLPCell::reportChange(NSObject* newValue, NSObject* changeArgument) {
    Ref<KLPCell> keep = this;
    Ref<NSObject> argument = changeArgument;
    if (_setting) _setting->setValue(newValue);
    // A copy: the block may replace itself.
    if (ValueChangedBlock block = _valueChanged) block(argument);
    NSNotificationCenter::defaultCenter()->postNotificationName(_postNotification, argument);
}

void KLPCell::deselectRowInTable(UITableViewController* table) {
    UITableView* tableView = table ? table->tableView() : nullptr;
    if (!tableView) return;
    Ref<NSIndexPath> path = tableView->indexPathForCell(this);
    tableView->deselectRowAtIndexPath(path, true);
}

const ClassInfo& KLPCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPCell>()
                                      .method<"didSelectFromTable:", &KLPCell::didSelectFromTable>()
                                      .build();
    return info;
}
