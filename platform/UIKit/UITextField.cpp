#include "UIKit/UITextField.h"

#include <algorithm>
#include <string>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

UITextField* UITextField::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    return this;
}

UITextField::~UITextField() {
    if (current() == this) current() = nullptr;
}

UITextField*& UITextField::current() {
    static UITextField* field = nullptr;
    return field;
}

void UITextField::setText(NSString* text) {
    _text = text ? text : ""_ns;
}

bool UITextField::showsClearButton() const {
    if (_text->length() == 0) return false;
    switch (_clearButtonMode) {
    case UITextFieldViewModeWhileEditing:
        return isFirstResponder();
    case UITextFieldViewModeUnlessEditing:
        return !isFirstResponder();
    default:
        return _clearButtonMode == UITextFieldViewModeAlways;
    }
}

bool UITextField::becomeFirstResponder() {
    if (!isEnabled()) return false;
    if (UITextField* other = current(); other && other != this) other->resignFirstResponder();
    current() = this;
    return true;
}

bool UITextField::resignFirstResponder() {
    if (current() == this) current() = nullptr;
    return true;
}

bool UITextField::append(std::string_view utf8) {
    if (!isEnabled() || utf8.empty()) return false;
    becomeFirstResponder();
    _text = NSString::string(_text->utf8() + std::string(utf8));
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

bool UITextField::pressReturn() {
    Ref<UITextField> keep = this;
    auto* delegate = static_cast<NSObject*>(_delegate);
    if (!delegate || !delegate->respondsToSelector("textFieldShouldReturn:"_sel)) return true;
    return send<bool>(_delegate, "textFieldShouldReturn:"_sel, this);
}

Ref<NSString> UITextField::screenText() {
    std::string shown = _text->length() ? _text->utf8()
                        : _placeholder  ? "(" + _placeholder->utf8() + ")"
                                        : std::string();
    return NSString::string("[" + shown + (isFirstResponder() ? "|" : "") + "___]");
}

const ClassInfo& UITextField::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UITextField>()
            .method<"becomeFirstResponder", &UITextField::becomeFirstResponder>()
            .method<"resignFirstResponder", &UITextField::resignFirstResponder>()
            .method<"screenText", &UITextField::screenText>()
            .build();
    return info;
}
