#include "Foundation/NSException.h"

#include <utility>

NSException::NSException(std::string name, const std::string& reason)
    : std::runtime_error(reason), _name(std::move(name)) {}

// Out of line, so that the type's identity lives in Foundation alone.
NSException::~NSException() = default;
