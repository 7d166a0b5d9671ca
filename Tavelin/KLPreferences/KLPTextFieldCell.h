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

    OBJC_CLASS_METHOD(Ref<KLPTextFieldCell>, cellWithTitle,
                      "cellWithTitle:setting:placeholder:postNotification:changeBlock:", NSString*,
                      KLPSettings*, NSString*, NSString*, ValueChangedBlock)
    OBJC_METHOD(KLPTextFieldCell*, init_cellWithTitle,
                "cellWithTitle:setting:placeholder:postNotification:changeBlock:", NSString*,
                KLPSettings*, NSString*, NSString*, ValueChangedBlock)

    OBJC_PROPERTY(UITextField*, textField, setTextField)

    OBJC_METHOD(void, textFieldChanged, "textFieldChanged:", UITextField*)
    OBJC_METHOD(bool, textFieldShouldReturn, "textFieldShouldReturn:", UITextField*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

  private:
    Ref<UITextField> _textField;
};
