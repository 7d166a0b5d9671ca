// Text for a terminal: control characters (C0 but newline and tab, DEL, and
// the C1 range in UTF-8) are shown escaped, "\x1b", never sent raw.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

std::string printable(std::string_view text);

// A stream buffer that passes text to another one with control characters
// escaped, as printable() does.
class PrintableBuffer : public std::streambuf {
  public:
    explicit PrintableBuffer(std::streambuf* target) : _target(target) {}
    ~PrintableBuffer() override;

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool put(std::string_view text);

    std::streambuf* _target;
    bool _afterC2 = false; // the last byte was 0xC2, the lead of a C1 control
};

// An ostream over another one that shows control characters escaped.
class PrintableStream : public std::ostream {
  public:
    explicit PrintableStream(std::ostream& target)
        : std::ostream(&_buffer), _buffer(target.rdbuf()) {}

  private:
    PrintableBuffer _buffer;
};
