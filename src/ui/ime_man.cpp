#include "ui/ime_man.h"

#include "app/input_man.h"

namespace vs::ui {

bool ImeMan::HandleMessage(const platform::Message& m, int64_t& result) {
    // Until the input method is built, typed characters go straight to the input manager.
    if (m.id == platform::kWmChar || m.id == platform::kWmSysChar) {
        if (auto* input = app::InputMan::instance()) {
            char16_t c = char16_t(m.wParam);
            input->text(std::u16string_view(&c, 1), m.time);
        }
        result = 0;
        return true;
    }
    return false;
}

}  // namespace vs::ui
