#include "KLPreferences/KLPTextFieldCell.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<KLPTextFieldCell> KLPTextFieldCell::cellWithTitle(NSString* title, KLPSettings* setting,
                                                      NSString* placeholder,
                                                      NSString* postNotification,
                                                      ValueChangedBlock changeBlock) {
    return make<KLPTextFieldCell>(&KLPTextFieldCell::init_cellWithTitle, title, setting,
                                  placeholder, postNotification, std::move(changeBlock));
}

namespace {

Ref<NSString> shownText(NSObject* value) {
    if (!value) return nullptr;
    if (NSString* text = as<NSString>(value)) return text;
    return describe(value);
}

} // namespace

KLPTextFieldCell* KLPTextFieldCell::init_cellWithTitle(NSString* title, KLPSettings* setting,
                                                       NSString* placeholder,
                                                       NSString* postNotification,
                                                       ValueChangedBlock changeBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setPostNotification(postNotification);
    setValueChanged(std::move(changeBlock));
    _textField = make<UITextField>(&UITextField::initWithFrame, kFieldFrame);
    _textField->setDelegate(this);
    _textField->setTextAlignment(NSTextAlignmentRight);
    _textField->setClearButtonMode(UITextFieldViewModeWhileEditing);
    Ref<NSObject> stored = setting ? setting->value() : nullptr;
    _textField->setText(shownText(stored));
    _textField->setPlaceholder(placeholder);
    _textField->addTarget(this, "textFieldChanged:"_sel, UIControlEventEditingChanged);
    _textField->setReturnKeyType(UIReturnKeyDone);
    setAccessoryView(_textField);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    return this;
}

void KLPTextFieldCell::textFieldChanged(UITextField* sender) {
    reportChange(sender ? sender->text() : nullptr, sender);
}

bool KLPTextFieldCell::textFieldShouldReturn(UITextField* field) {
    send<bool>(field, "resignFirstResponder"_sel);
    return false;
}

void KLPTextFieldCell::layoutSubviews() {
    sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    if (_textField) _textField->setTintColor(tintUIColor());
}

const ClassInfo& KLPTextFieldCell::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<KLPTextFieldCell>()
            .method<"textFieldChanged:", &KLPTextFieldCell::textFieldChanged>()
            .method<"textFieldShouldReturn:", &KLPTextFieldCell::textFieldShouldReturn>()
            .method<"layoutSubviews", &KLPTextFieldCell::layoutSubviews>()
            .build();
    return info;
}
