#pragma once
#include <string>

#include "ui/pane.h"

namespace vs::screens {

// A book of full-screen pages ("STORY.EPF", "HISTORY.EPF"): Enter, Escape, Space or a released
// mouse button turns the page; after the last page the viewer closes. It is modal and keeps
// every key and click from the screens below.
class StoryViewer final : public ui::Pane {
  public:
    static constexpr const char* kPalette = "NPAL4.PAL";

    explicit StoryViewer(std::string file);
    ~StoryViewer() override;
    void OnOpen() override;
    void Paint() override;
    bool OnMouse(const app::InputEvent& e) override;
    bool OnKey(const app::InputEvent& e) override;
    bool OnText(const app::InputEvent&) override { return true; }
    int page() const { return page_; }
    static StoryViewer* instance() { return instance_; }

  private:
    void next();

    static inline StoryViewer* instance_ = nullptr;
    std::string file_;
    int page_ = 0;
    int pages_ = 0;
};

}  // namespace vs::screens
