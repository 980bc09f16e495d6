#pragma once
// A dialog for the title's forms that records what they ask of it.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "screens/title_forms.h"

namespace vs::screens::test {

class FakeView final : public FormView {
  public:
    std::u16string FieldText(Field f) const override {
        auto it = fields.find(f);
        return it == fields.end() ? u"" : it->second;
    }
    void FocusField(Field f) override { focused = f; }
    void EnableOk(bool on) override { okEnabled = on; }
    void ShowBox(std::u16string_view text) override { boxes.emplace_back(text); }
    void CloseForm(bool slide) override { closed = slide ? "slide" : "at once"; }
    void ScheduleForm(uint32_t ms) override {
        delays.push_back(ms);
        if (onSchedule) onSchedule();
    }

    std::map<Field, std::u16string> fields;
    std::optional<Field> focused;
    bool okEnabled = false;
    std::vector<std::u16string> boxes;
    std::string closed;
    std::vector<uint32_t> delays;
    std::function<void()> onSchedule;
};

}  // namespace vs::screens::test
