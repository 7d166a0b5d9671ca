// A text setting edited in a right-aligned 190 x 30 point text field; the
// whole text is stored at every edit (each keystroke, each paste) and the
// change reported with the field as the argument. The return key (Done)
// only ends editing. A stored value that is not text shows as its
// description; nothing stored shows an empty field.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UITextField.h"

struct KLPTextFieldCell : KLPCell {
    OBJC_CLASS(KLPTextFieldCell, KLPCell)

    static constexpr CGRect kFieldFrame{{0, 0}, {190, 30}};

    static Ref<KLPTextFieldCell> cellWithTitle(NSString* title, KLPSettings* setting,
                                               NSString* placeholder, NSString* postNotification,
                                               ValueChangedBlock changeBlock);
    KLPTextFieldCell* init_cellWithTitle(NSString* title, KLPSettings* setting,
                                         NSString* placeholder, NSString* postNotification,
                                         ValueChangedBlock changeBlock);

    UITextField* textField() const { return _textField; }
    void setTextField(UITextField* field) { _textField = field; }

    // Messages.
    void textFieldChanged(UITextField* sender);
    bool textFieldShouldReturn(UITextField* field);
    void layoutSubviews();

  private:
    Ref<UITextField> _textField;
};
