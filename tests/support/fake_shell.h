#pragma once
#include <string>

#include "app/shell.h"

namespace vs::test {

// The application as lower modules see it, with its state set by the test.
class FakeShell final : public app::Shell {
public:
    FakeShell() { registerShell(this); }
    ~FakeShell() override { unregisterShell(this); }
    void requestExit() override { ++exits; }
    bool isQuitting() const override { return quitting; }
    bool isActive() const override { return active; }
    void setPendingError(std::u16string text) override { pendingError = std::move(text); }
    int16_t version() const override { return 310; }
    int16_t build() const override { return 0; }
    bool inGame() const override { return inGameFlag; }
    void setInGame(bool in) override { inGameFlag = in; }

    int exits = 0;
    bool quitting = false;
    bool active = true;
    bool inGameFlag = false;
    std::u16string pendingError;
};

}  // namespace vs::test
