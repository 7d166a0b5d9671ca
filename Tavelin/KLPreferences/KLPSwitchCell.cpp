#include "KLPreferences/KLPSwitchCell.h"

#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<KLPSwitchCell> KLPSwitchCell::cellWithTitleImp(Class cls, NSString* title, KLPSettings* setting,
                                                   NSString* postNotification,
                                                   ValueChangedBlock changeBlock) {
    return make<KLPSwitchCell>(cls, &KLPSwitchCell::init_cellWithTitle, title, setting,
                               postNotification, std::move(changeBlock));
}

KLPSwitchCell* KLPSwitchCell::init_cellWithTitleImp(NSString* title, KLPSettings* setting,
                                                    NSString* postNotification,
                                                    ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    Ref<UISwitch> control = make<UISwitch>(&UISwitch::initWithFrame, CGRectZero);
    setSwitchView(control);
    Ref<NSObject> stored = setting ? setting->value() : nullptr;
    bool answers = stored && stored->respondsToSelector("boolValue"_sel);
    control->setOn(answers && send<bool>(stored.get(), "boolValue"_sel), false);
    installControl(control, ControlPlace::Accessory, "switchChanged:"_sel,
                   UIControlEventValueChanged, postNotification, std::move(changeBlock));
    return this;
}

void KLPSwitchCell::switchChangedImp(UISwitch* sender) {
    reportChange(NSNumber::numberWithBool(sender && sender->isOn()), sender);
}

void KLPSwitchCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    tintControl(switchView(), "setOnTintColor:"_sel);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSwitchCell)
