// The virtual-call baseline: an interface whose one implementation lives in
// another translation unit, so that a caller cannot devirtualise the call.
#pragma once

#include <memory>

struct VirtualGauge {
    virtual ~VirtualGauge() = default;
    virtual long value() const = 0;
};

std::unique_ptr<VirtualGauge> makeVirtualGauge();
