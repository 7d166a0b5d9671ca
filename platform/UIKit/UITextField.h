// A one-line text field. Simulated typing appends one character at a time
// and sends UIControlEventEditingChanged after each; a paste appends its
// text and sends it once; the return key asks the delegate
// textFieldShouldReturn: (a message) when the delegate answers it. The
// delegate is not owned. At most one field is first responder at a time.
#pragma once

#include <string_view>

#include "UIKit/UIControl.h"
#include "UIKit/UILabel.h"

enum UITextFieldViewMode : long {
    UITextFieldViewModeNever = 0,
    UITextFieldViewModeWhileEditing = 1,
    UITextFieldViewModeUnlessEditing = 2,
    UITextFieldViewModeAlways = 3,
};

enum UIReturnKeyType : long {
    UIReturnKeyDefault = 0,
    UIReturnKeyGo = 1,
    UIReturnKeySearch = 6,
    UIReturnKeyDone = 9,
};

struct UITextField : UIControl {
    OBJC_CLASS(UITextField, UIControl)

    // Never nil: nil sets the empty text.
    OBJC_READONLY(NSString*, text)
    OBJC_METHOD(void, setText, "setText:", NSString*)
    OBJC_PROPERTY(NSString*, placeholder, setPlaceholder)
    OBJC_PROPERTY(long, textAlignment, setTextAlignment)
    OBJC_PROPERTY(long, clearButtonMode, setClearButtonMode)
    OBJC_PROPERTY(long, returnKeyType, setReturnKeyType)
    OBJC_PROPERTY(id, delegate, setDelegate)
    OBJC_METHOD(bool, isFirstResponder, "isFirstResponder")
    // A disabled field refuses.
    OBJC_METHOD(bool, becomeFirstResponder, "becomeFirstResponder")
    OBJC_METHOD(bool, resignFirstResponder, "resignFirstResponder")
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    ~UITextField();

    // Whether the clear button shows now, by clearButtonMode and editing.
    bool showsClearButton() const;

    // The user types: the field becomes first responder, then each character
    // (a whole UTF-8 sequence) is appended and reported. A disabled field
    // takes nothing. Answers the number of characters taken.
    long typeText(std::string_view utf8);
    // The user pastes: one append, one report.
    bool paste(std::string_view utf8);
    // The user selects all the text and deletes it: one change, reported.
    // A disabled or empty field stays as it is.
    bool clearText();
    // The user presses the return key: answers the delegate's
    // textFieldShouldReturn:, or true without a delegate that answers it.
    bool pressReturn();

  private:
    static UITextField*& current();
    bool append(std::string_view utf8);

    Ref<NSString> _text = ""_ns;
    Ref<NSString> _placeholder;
    long _textAlignment = NSTextAlignmentNatural;
    long _clearButtonMode = UITextFieldViewModeNever;
    long _returnKeyType = UIReturnKeyDefault;
    id _delegate = nullptr;
};
