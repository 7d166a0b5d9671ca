#include "Foundation/NSURL.h"

#include <cctype>
#include <string_view>

#include "ObjectModel/ClassBuilder.h"

namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// RFC 3986: unreserved and reserved characters, plus '%' for escapes.
bool isURLCharacter(char c) {
    static constexpr std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=%";
    return isAlpha(c) || (c >= '0' && c <= '9') || allowed.find(c) != std::string_view::npos;
}

// The length of the scheme of URL text ("https" in "https://..."), or 0
// when the text has none.
std::size_t urlSchemeLength(std::string_view text) {
    if (text.empty() || !isAlpha(text[0])) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == ':') return i;
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

bool urlCharactersValid(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isURLCharacter(text[i])) return false;
        if (text[i] == '%' && (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])))
            return false;
    }
    return true;
}

} // namespace

Ref<NSURL> NSURL::URLWithStringImp(Class cls, const NSString* text) {
    return make<NSURL>(cls, &NSURL::initWithString, text);
}

NSURL* NSURL::initWithStringImp(const NSString* text) {
    if (!text || !sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    std::string_view utf8 = text->utf8();
    std::size_t scheme = urlSchemeLength(utf8);
    if (scheme == 0 || !urlCharactersValid(utf8)) return nullptr;
    _absoluteString = NSString::string(utf8);
    _scheme = NSString::string(utf8.substr(0, scheme));
    return this;
}

bool NSURL::isEqualImp(NSObject* other) {
    const NSURL* url = as<NSURL>(other);
    return url && url->_absoluteString->isEqualToString(_absoluteString);
}

unsigned long NSURL::hashImp() {
    return _absoluteString->hash();
}

OBJC_IMPLEMENT_LOADED_CLASS(NSURL)
