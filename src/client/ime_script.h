#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/frame_clock.h"
#include "base/lobject.h"
#include "platform/message.h"

namespace vs::client {

// One line of an input method script: at `at` milliseconds after start, what the method does.
struct ImeScriptStep {
    enum Kind { kCompose, kCommit, kEnd, kCandidates, kClose, kOpen };
    uint32_t at = 0;
    Kind kind = kEnd;
    std::u16string text;
    int32_t number = 0;  // compose: the cursor; candidates: the selection; open: 0 or 1
    std::vector<std::u16string> items;
};

// Lines "TIME-MS compose TEXT CURSOR", "TIME-MS commit TEXT", "TIME-MS end",
// "TIME-MS candidates SELECTION ITEM...", "TIME-MS close", "TIME-MS open 0|1"; blank lines and
// lines starting with # are skipped. False, with the line and the reason in `error`, for
// anything else.
bool parseImeScript(std::string_view script, std::vector<ImeScriptStep>& out, std::string& error);

// The messages a system input method would post for the step (a composition's first string
// brings its start; a commit while composing its end).
std::vector<platform::Message> imeScriptMessages(const ImeScriptStep& step, bool& composing);

// Plays a script into the main window on the frame clock.
class ImeScriptPlayer final : public base::LObject, public app::TimerClient {
  public:
    explicit ImeScriptPlayer(std::vector<ImeScriptStep> steps);
    ~ImeScriptPlayer() override;
    // Null, after logging why, when the file cannot be read or understood.
    static std::unique_ptr<ImeScriptPlayer> Load(const std::filesystem::path& file);
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

  private:
    std::vector<ImeScriptStep> steps_;
    bool composing_ = false;
};

}  // namespace vs::client
