#include "UIKit/UITextField.h"

#include <algorithm>
#include <string>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

UITextField::~UITextField() {
    if (current() == this) current() = nullptr;
}

UITextField*& UITextField::current() {
    static UITextField* field = nullptr;
    return field;
}

void UITextField::setTextImp(NSString* text) {
    _text = text ? text : ""_ns;
}

bool UITextField::isFirstResponderImp() {
    return current() == this;
}

bool UITextField::showsClearButton() const {
    if (text()->length() == 0) return false;
    switch (long mode = clearButtonMode()) {
    case UITextFieldViewModeWhileEditing:
        return isFirstResponder();
    case UITextFieldViewModeUnlessEditing:
        return !isFirstResponder();
    default:
        return mode == UITextFieldViewModeAlways;
    }
}

bool UITextField::becomeFirstResponderImp() {
    if (!isEnabled()) return false;
    if (UITextField* other = current(); other && other != this) other->resignFirstResponder();
    current() = this;
    return true;
}

bool UITextField::resignFirstResponderImp() {
    if (current() == this) current() = nullptr;
    return true;
}

bool UITextField::append(std::string_view utf8) {
    if (!isEnabled() || utf8.empty()) return false;
    becomeFirstResponder();
    setText(NSString::string(text()->utf8() + std::string(utf8)));
    sendActionsForControlEvents(UIControlEventEditingChanged);
    return true;
}

namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray
// continuation byte, so that bad input still moves on).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

} // namespace

long UITextField::typeText(std::string_view utf8) {
    Ref<UITextField> keep = this;
    long taken = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t size = std::min(sequenceLength(utf8[at]), utf8.size() - at);
        if (!append(utf8.substr(at, size))) break;
        at += size;
        ++taken;
    }
    return taken;
}

bool UITextField::paste(std::string_view utf8) {
    Ref<UITextField> keep = this;
    return append(utf8);
}

bool UITextField::clearText() {
    Ref<UITextField> keep = this;
    if (!isEnabled() || text()->length() == 0) return false;
    becomeFirstResponder();
    setText(""_ns);
    sendActionsForControlEvents(UIControlEventEditingChanged);
    return true;
}

bool UITextField::pressReturn() {
    Ref<UITextField> keep = this;
    auto* delegate = static_cast<NSObject*>(this->delegate());
    if (!delegate || !delegate->respondsToSelector("textFieldShouldReturn:"_sel)) return true;
    return send<bool>(delegate, "textFieldShouldReturn:"_sel, this);
}

Ref<NSString> UITextField::screenTextImp() {
    NSString* placeholder = this->placeholder();
    std::string shown = text()->length() ? text()->utf8()
                        : placeholder    ? "(" + placeholder->utf8() + ")"
                                         : std::string();
    return NSString::string("[" + shown + (isFirstResponder() ? "|" : "") + "___]");
}

OBJC_IMPLEMENT_LOADED_CLASS(UITextField)
