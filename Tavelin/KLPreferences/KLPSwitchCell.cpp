#include "KLPreferences/KLPSwitchCell.h"

#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"

Ref<KLPSwitchCell> KLPSwitchCell::cellWithTitle(NSString* title, KLPSettings* setting,
                                                NSString* postNotification,
                                                ValueChangedBlock changeBlock) {
    return make<KLPSwitchCell>(&KLPSwitchCell::init_cellWithTitle, title, setting, postNotification,
                               std::move(changeBlock));
}

KLPSwitchCell* KLPSwitchCell::init_cellWithTitle(NSString* title, KLPSettings* setting,
                                                 NSString* postNotification,
                                                 ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setPostNotification(postNotification);
    setValueChanged(std::move(changeBlock));
    _switchView = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    Ref<NSObject> stored = setting ? setting->value() : nullptr;
    auto* number = as<NSNumber>(stored.get());
    _switchView->setOn(number && number->boolValue(), false);
    _switchView->addTarget(this, "switchChanged:"_sel, UIControlEventValueChanged);
    setAccessoryView(_switchView);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    return this;
}

void KLPSwitchCell::switchChanged(UISwitch* sender) {
    reportChange(NSNumber::numberWithBool(sender && sender->isOn()), sender);
}

void KLPSwitchCell::layoutSubviews() {
    sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    if (_switchView) _switchView->setOnTintColor(tintUIColor());
}

const ClassInfo& KLPSwitchCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPSwitchCell>()
                                      .method<"switchChanged:", &KLPSwitchCell::switchChanged>()
                                      .method<"layoutSubviews", &KLPSwitchCell::layoutSubviews>()
                                      .build();
    return info;
}
