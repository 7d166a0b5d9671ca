// What the platform raises, as a C++ exception: the name and reason of the
// device's NSException, so that a caller can report it and go on.
#pragma once

#include <stdexcept>
#include <string>

inline constexpr const char* NSGenericException = "NSGenericException";

struct NSException : std::runtime_error {
    NSException(std::string name, const std::string& reason);
    ~NSException() override;

    const std::string& name() const { return _name; }
    const char* reason() const { return what(); }

  private:
    std::string _name;
};
