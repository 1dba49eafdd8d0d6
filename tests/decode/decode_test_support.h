#pragma once

#include <string>
#include <string_view>

#include "decode/product_name.h"
#include "tests/support/fake_time_zone.h"

namespace kobrix::testing {

// Decodes names one after another on the same panel, as the main window does.
class Decoder {
  public:
    FakeTimeZone zone;
    DecodeContext context;
    DecodeState state;

    Decoder() { context.zone = &zone; }
    const DecodeState& Decode(std::string_view name) {
        DecodeProductName(name, context, state);
        return state;
    }
    const DecodedPanel& Panel() const { return state.panel; }
    const DecodedProduct& Product() const { return state.product; }
};

}  // namespace kobrix::testing
