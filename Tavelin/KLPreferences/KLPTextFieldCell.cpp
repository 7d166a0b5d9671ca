#include "KLPreferences/KLPTextFieldCell.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<KLPTextFieldCell> KLPTextFieldCell::cellWithTitleImp(Class cls, NSString* title,
                                                         KLPSettings* setting,
                                                         NSString* placeholder,
                                                         NSString* postNotification,
                                                         ValueChangedBlock changeBlock) {
    return make<KLPTextFieldCell>(cls, &KLPTextFieldCell::init_cellWithTitle, title, setting,
                                  placeholder, postNotification, std::move(changeBlock));
}

namespace {

Ref<NSString> shownText(NSObject* value) {
    if (!value) return nullptr;
    if (NSString* text = as<NSString>(value)) return text;
    return describe(value);
}

} // namespace

KLPTextFieldCell* KLPTextFieldCell::init_cellWithTitleImp(NSString* title, KLPSettings* setting,
                                                          NSString* placeholder,
                                                          NSString* postNotification,
                                                          ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    Ref<UITextField> field = make<UITextField>(&UITextField::initWithFrame, kFieldFrame);
    setTextField(field);
    field->setDelegate(this);
    field->setTextAlignment(NSTextAlignmentRight);
    field->setClearButtonMode(UITextFieldViewModeWhileEditing);
    field->setText(shownText(setting ? setting->value() : nullptr));
    field->setPlaceholder(placeholder);
    field->setReturnKeyType(UIReturnKeyDone);
    installControl(field, ControlPlace::Accessory, "textFieldChanged:"_sel,
                   UIControlEventEditingChanged, postNotification, std::move(changeBlock));
    return this;
}

void KLPTextFieldCell::textFieldChangedImp(UITextField* sender) {
    reportChange(sender ? sender->text() : nullptr, sender);
}

bool KLPTextFieldCell::textFieldShouldReturnImp(UITextField* field) {
    send<bool>(field, "resignFirstResponder"_sel);
    return false;
}

void KLPTextFieldCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    tintControl(textField(), "setTintColor:"_sel);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPTextFieldCell)
