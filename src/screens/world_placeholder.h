#pragma once
#include <string>

#include "screens/title_services.h"
#include "ui/pane.h"

namespace vs::screens {

class TitlePane;

// Where the game world will be: a full-screen pane that names the account that logged in and
// says that the world view is not built yet. A lost connection brings the reconnect box.
class WorldPlaceholderPane final : public ui::Pane {
  public:
    static constexpr std::u16string_view kNotBuilt = u"The world view is not built yet.";

    WorldPlaceholderPane(TitleServices& services, std::u16string account);
    ~WorldPlaceholderPane() override;
    static WorldPlaceholderPane* instance() { return instance_; }
    void OnOpen() override;
    void Paint() override;
    bool OnConnectionEvent(const app::InputEvent& e) override;
    const std::u16string& account() const { return account_; }

  private:
    static inline WorldPlaceholderPane* instance_ = nullptr;
    TitleServices& services_;
    std::u16string account_;
};

// After a login: what the main game screen does of its building that does not need the world
// view yet: the account's file, the title and the wait screen closed, the input method off, the
// title music faded out over 3000 ms, the in-game flag; then the placeholder.
void BuildMainScreen(TitlePane& title);

}  // namespace vs::screens
