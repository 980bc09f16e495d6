#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"
#include "platform/text_input.h"

union SDL_Event;

namespace vs::platform {

class SdlWindow;

// SDL's text input as the window's input method. Started, SDL composes and types; stopped, it
// types nothing and the window types plain keys itself. SDL reports no candidate list (the
// system draws its own beside the rectangle given) and no open status.
class SdlTextInput final : public TextInput {
  public:
    explicit SdlTextInput(SdlWindow& window);
    ~SdlTextInput() override;

    void setAvailable(bool on) override;
    bool available() const override;
    void clearComposition(std::u16string_view dropped) override;
    void setCompositionRect(const base::Rect& rect) override;

    // The window drains SDL's queue in passes; every event of a pass was made in the state the
    // pass starts with.
    void beginPass();
    // The window types printable keys itself in this pass.
    bool typesKeys() const { return !passAvailable_; }
    // A key went down: a dropped composition's late commit no longer follows.
    void keyEvent() { dropped_.reset(); }
    // Text and editing events as window messages; false for other events.
    bool translate(const SDL_Event& ev, std::vector<Message>& out);

  private:
    SdlWindow& window_;
    bool passAvailable_ = false;
    bool composing_ = false;
    std::optional<std::u16string> dropped_;
};

// The composition cursor of an editing event counts characters; messages count UTF-16 units.
int32_t utf16Offset(std::string_view utf8, int32_t characters);

}  // namespace vs::platform
