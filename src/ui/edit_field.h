#pragma once
#include <cstdint>
#include <string_view>

#include "ui/control.h"
#include "ui/text_edit_pane.h"

namespace vs::ui {

// A text entry inside a dialog: a text-editing pane, inset by 2 pixels in a sunken bevel when
// framed, alone (only its text shows) when not. It edits while it has the dialog's focus; a
// multi-line field takes Enter, a single-line one leaves it to the default button.
class EditField : public Control {
  public:
    static constexpr int32_t kBevelDark = 192, kBevelLight = 200;
    static constexpr int32_t kInset = 2;

    struct Style {
        bool framed = true;
        bool multiLine = false;
        int32_t textColour = 128;
        int32_t backColour = 0;
        uint32_t flags = 0;
        int16_t font = 0;
        int32_t maxLength = TextEditPane::kDefaultMaxLength;
    };

    EditField(const base::Rect& rect, std::u16string_view text);
    EditField(const base::Rect& rect, std::u16string_view text, const Style& style);
    ~EditField() override;

    void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer) override;
    void Detach() override;
    void Paint() override;
    void Enable() override;
    void Disable() override;
    void Focus() override;
    void Unfocus() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    bool OnText(const app::InputEvent& event) override;

    TextEditPane& Edit() { return edit_; }
    const std::u16string& Text() const { return edit_.Text(); }
    void SetText(std::u16string_view text);
    bool IsFramed() const { return Marker() != 0; }

  private:
    base::Rect editRect() const;
    void updateEditing();

    TextEditPane edit_;
    bool readOnly_ = false;
};

}  // namespace vs::ui
