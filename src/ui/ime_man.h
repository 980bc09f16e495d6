#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/lobject.h"
#include "platform/message.h"

namespace vs::platform {
struct CandidateList;
}

namespace vs::ui {

class Pane;

// The candidates an input method offers on one page, as kind-14 events carry them.
struct CandidatePage : base::LObject {
    std::vector<std::u16string> items;
};

// The window's input method: turns its messages into input events (kinds 9 to 15) and keeps it
// available exactly while some pane asks for it.
class ImeMan {
  public:
    static constexpr size_t kMaxComposition = 127;
    static constexpr size_t kMaxResult = 63;
    static constexpr int32_t kDefaultPageSize = 9;

    ImeMan();
    ~ImeMan();
    ImeMan(const ImeMan&) = delete;
    ImeMan& operator=(const ImeMan&) = delete;
    static ImeMan* instance() { return instance_; }

    // The input method manager sees every window message first; true when it handled one.
    bool HandleMessage(const platform::Message& m, int64_t& result);
    // The state after creation: the method closed and unavailable, nobody asking.
    void Reset();
    int state() const { return 2; }

    // A pane asks for the input method (on) or gives it up; (nullptr, off) clears every request.
    void Request(const Pane* pane, bool on);
    bool IsRequested(const Pane* pane) const;
    bool Available() const { return !requesters_.empty(); }
    // Ends the composition in progress as if the player had committed it.
    void CompleteComposition();
    int32_t CompositionCursor() const { return cursor_; }
    bool Composing() const { return composing_; }
    const std::u16string& Composition() const { return composition_; }

    // The page of candidates to show for a list, and the selection relative to its first entry;
    // false when there is nothing to show.
    static bool BuildPage(const platform::CandidateList& list, CandidatePage& page,
                          int32_t& selection);

  private:
    void applyAvailability();
    void endComposition(uint32_t time);

    static inline ImeMan* instance_ = nullptr;
    std::vector<const Pane*> requesters_;
    bool composing_ = false;
    std::u16string composition_;
    int32_t cursor_ = 0;
};

}  // namespace vs::ui
