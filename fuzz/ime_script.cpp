// An input method script from any bytes: parsed or refused with a reason, and every step of an
// accepted one becomes messages without a composition string past the method's limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "client/ime_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    std::vector<client::ImeScriptStep> steps;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!client::parseImeScript(text, steps, error)) {
        if (error.empty() || !steps.empty()) std::abort();
        return 0;
    }
    bool composing = false;
    for (const auto& step : steps) {
        for (const auto& m : client::imeScriptMessages(step, composing)) {
            if (m.id == 0) std::abort();
        }
    }
    return 0;
}
