#include "host/PrintableText.h"

#include <cstdio>

namespace {

bool isControl(unsigned char c) {
    return (c < 0x20 && c != '\n' && c != '\t') || c == 0x7f;
}

std::string escaped(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02x", value);
    return text;
}

// Appends one byte; `afterC2` carries a 0xC2 lead across calls.
void appendPrintable(std::string& out, unsigned char c, bool& afterC2) {
    if (afterC2) {
        afterC2 = false;
        if (c >= 0x80 && c <= 0x9f) {
            out += "\\u00" + escaped(c).substr(2);
            return;
        }
        out += '\xc2';
    }
    if (c == 0xc2) {
        afterC2 = true;
        return;
    }
    out += isControl(c) ? escaped(c) : std::string(1, static_cast<char>(c));
}

} // namespace

std::string printable(std::string_view text) {
    std::string out;
    bool afterC2 = false;
    for (char c : text)
        appendPrintable(out, static_cast<unsigned char>(c), afterC2);
    if (afterC2) out += '\xc2';
    return out;
}

PrintableBuffer::~PrintableBuffer() {
    if (_afterC2) put("\xc2");
    _target->pubsync();
}

bool PrintableBuffer::put(std::string_view text) {
    return _target->sputn(text.data(), static_cast<std::streamsize>(text.size())) ==
           static_cast<std::streamsize>(text.size());
}

PrintableBuffer::int_type PrintableBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    std::string out;
    appendPrintable(out, static_cast<unsigned char>(traits_type::to_char_type(c)), _afterC2);
    return put(out) ? c : traits_type::eof();
}

int PrintableBuffer::sync() {
    return _target->pubsync();
}
