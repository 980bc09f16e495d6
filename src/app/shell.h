#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace vs::app {

// What the rest of the program needs of the running application. The application (in client/)
// implements it; lower modules reach it through Shell::instance().
class Shell {
public:
    static Shell* instance() { return instance_; }

    // Fades out, then ends the main loop.
    virtual void requestExit() = 0;
    virtual bool isQuitting() const = 0;
    virtual bool isActive() const = 0;
    // Shown in a box with caption "Error" at the end of shutdown.
    virtual void setPendingError(std::u16string text) = 0;
    virtual int16_t version() const = 0;
    virtual int16_t build() const = 0;
    virtual bool inGame() const = 0;
    virtual void setInGame(bool inGame) = 0;

protected:
    Shell() = default;
    virtual ~Shell() = default;
    void registerShell(Shell* s) { instance_ = s; }
    void unregisterShell(Shell* s) {
        if (instance_ == s) instance_ = nullptr;
    }

private:
    static inline Shell* instance_ = nullptr;
};

// The process phase: 1 starting, 2 title screen, 3 game map view, 4 shutting down. An atomic,
// because the crash report reads it from a signal handler.
int32_t phase();
void setPhase(int32_t phase);

}  // namespace vs::app
