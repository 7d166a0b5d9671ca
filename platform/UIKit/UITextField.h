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

    UITextField* initWithFrame(CGRect frame);
    ~UITextField();

    // Never nil: nil sets the empty text.
    NSString* text() const { return _text; }
    void setText(NSString* text);
    NSString* placeholder() const { return _placeholder; }
    void setPlaceholder(NSString* placeholder) { _placeholder = placeholder; }
    long textAlignment() const { return _textAlignment; }
    void setTextAlignment(long alignment) { _textAlignment = alignment; }
    long clearButtonMode() const { return _clearButtonMode; }
    void setClearButtonMode(long mode) { _clearButtonMode = mode; }
    long returnKeyType() const { return _returnKeyType; }
    void setReturnKeyType(long type) { _returnKeyType = type; }
    id delegate() const { return _delegate; }
    void setDelegate(id delegate) { _delegate = delegate; }
    bool isFirstResponder() const { return current() == this; }
    // Whether the clear button shows now, by clearButtonMode and editing.
    bool showsClearButton() const;

    // The user types: the field becomes first responder, then each character
    // (a whole UTF-8 sequence) is appended and reported. A disabled field
    // takes nothing. Answers the number of characters taken.
    long typeText(std::string_view utf8);
    // The user pastes: one append, one report.
    bool paste(std::string_view utf8);
    // The user presses the return key: answers the delegate's
    // textFieldShouldReturn:, or true without a delegate that answers it.
    bool pressReturn();

    // Messages.
    bool becomeFirstResponder();
    bool resignFirstResponder();
    Ref<NSString> screenText();

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
