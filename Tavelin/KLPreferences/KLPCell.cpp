#include "KLPreferences/KLPCell.h"

#include "Foundation/NSNotificationCenter.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<KLPCell> KLPCell::cellWithTitleImp(Class cls, NSString* title, KLPSettings* setting) {
    return make<KLPCell>(cls, &KLPCell::initWithTitle, title, setting);
}

KLPCell* KLPCell::initWithTitleImp(NSString* title, KLPSettings* setting) {
    if (!initWithStyle(UITableViewCellStyleValue1, nullptr)) return nullptr;
    setClipsToBounds(true);
    textLabel()->setText(title);
    setSetting(setting);
    return this;
}

void KLPCell::didSelectFromTableImp(UITableViewController*) {}

void KLPCell::reportChange(NSObject* newValue, NSObject* changeArgument) {
    Ref<KLPCell> keep = this;
    Ref<NSObject> argument = changeArgument;
    if (KLPSettings* stored = setting()) stored->setValue(newValue);
    if (ValueChangedBlock block = valueChanged()) block(argument);
    NSNotificationCenter::defaultCenter()->postNotificationName(postNotification(), argument);
}

void KLPCell::installControl(UIControl* control, ControlPlace place, SEL action,
                             unsigned long events, NSString* postNotification,
                             ValueChangedBlock changeBlock) {
    setPostNotification(postNotification);
    setValueChanged(std::move(changeBlock));
    control->addTarget(this, action, events);
    if (place == ControlPlace::Accessory)
        setAccessoryView(control);
    else
        send(contentView(), "addSubview:"_sel, static_cast<UIView*>(control));
    setSelectionStyle(UITableViewCellSelectionStyleNone);
}

void KLPCell::tintControl(UIView* control, SEL setter) {
    if (control) send(control, setter, tintUIColor());
}

void KLPCell::deselectRowInTable(UITableViewController* table) {
    UITableView* tableView = table ? table->tableView() : nullptr;
    if (!tableView) return;
    Ref<NSIndexPath> path = tableView->indexPathForCell(this);
    tableView->deselectRowAtIndexPath(path, true);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPCell)
