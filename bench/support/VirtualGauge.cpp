#include "VirtualGauge.h"

namespace {

struct SevenGauge final : VirtualGauge {
    long value() const override { return 7; }
};

} // namespace

std::unique_ptr<VirtualGauge> makeVirtualGauge() {
    return std::make_unique<SevenGauge>();
}
