#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/lobject.h"
#include "base/rect.h"
#include "ui/scroll_view.h"

namespace vs::graphics {
class Canvas;
}

namespace vs::ui {

// A picture that stands in a line of text in place of one character.
class TextObject : public base::LObject {
  public:
    virtual int32_t Width() const = 0;
    // Draws at the canvas pen (x and baseline) and advances the pen by Width().
    virtual void Draw(graphics::Canvas& canvas) = 0;
    // A click on the object while it alone is selected.
    virtual void OnClick(const app::InputEvent&) {}
    // The symbol frame this object shows, for the clipboard's run data; −1 for other objects.
    virtual int32_t SymbolNumber() const { return -1; }
};

// Frame n of "SYMBOLS.EPF", its top 12 pixels above the baseline, colour-keyed.
class SymbolObject final : public TextObject {
  public:
    static constexpr const char* kFileName = "SYMBOLS.EPF";
    explicit SymbolObject(int32_t frame) : frame_(frame) {}
    int32_t Width() const override;
    void Draw(graphics::Canvas& canvas) override;
    int32_t SymbolNumber() const override { return frame_; }

  private:
    int32_t frame_;
};

struct TextStyle {
    int16_t font = 0;
    int32_t colour = 128;
    std::shared_ptr<TextObject> object;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// One run of the styled-text block, relative to its text: [start, end) in one style.
struct TextRun {
    uint32_t start = 0, end = 0;
    int16_t font = 0;
    int32_t colour = 128;
    int32_t symbol = -1;
};
// Run records are 18 bytes, little-endian: u32 start, u32 end, i16 font, i32 colour, i32 symbol.
std::vector<uint8_t> encodeRuns(std::span<const TextRun> runs);
// False for a block that is not whole records, or runs that are empty, overlap, go backwards or
// pass textLength.
bool decodeRuns(std::span<const uint8_t> data, size_t textLength, std::vector<TextRun>& out);
// The clipboard's styled text: u32 n, n UTF-16 units, u32 m, m bytes of runs. False for a block
// whose counts do not match its size or whose runs are bad.
bool decodeStyledText(std::span<const uint8_t> block, std::u16string& text,
                      std::vector<TextRun>& runs);
std::vector<uint8_t> encodeStyledText(std::u16string_view text, std::span<const TextRun> runs);

// The text-editing pane of every typed text: styled text in word-wrapped lines of 12 pixels, a
// caret and a selection, keyboard and mouse editing, a character filter, length and line limits,
// a password mode and the clipboard. Indices count UTF-16 units.
class TextEditPane : public ScrollView {
  public:
    enum Flag : uint32_t {
        kReserved = 0x01,
        kTransparent = 0x02,
        kReadOnly = 0x04,
        kLayoutSuspended = 0x08,
        kNoAutoRepaint = 0x10,
        kUniformStyle = 0x20,
        kIgnoreRunColours = 0x40,
        kActive = 0x80,
        kNotMostRecent = 0x100,  // never becomes the most recent entry
    };
    static constexpr int32_t kLineHeight = 12;
    static constexpr int32_t kDefaultMaxLength = 30000;
    static constexpr int32_t kDefaultMaxLines = 30000;
    static constexpr uint32_t kMultiClickTime = 500;
    static constexpr int32_t kMaxDragScroll = 48;

    TextEditPane(int32_t viewWidth, int32_t viewHeight, int32_t layoutWidth, int32_t layoutHeight,
                 int32_t textColour, int32_t backColour, bool horizontalBar, bool verticalBar,
                 uint32_t flags, int16_t font);
    ~TextEditPane() override;

    // Which units survive typing or pasting: the filter of every insertion. With oneLine, an
    // accepted line break ends the input.
    static bool Accepts(char16_t c);
    static std::u16string Filter(std::u16string_view text, bool oneLine);

    // Replaces the selection with the filtered text. `runs` (relative to the unfiltered text)
    // style it; else it takes the typing style or that of the text before it. An object makes the
    // first inserted unit stand for it.
    void InsertText(std::u16string_view text, std::span<const TextRun> runs = {},
                    std::shared_ptr<TextObject> object = nullptr);
    void DeleteRange(int32_t start, int32_t end);
    void SetSelection(int32_t start, int32_t end);
    void SelectAll() { SetSelection(0, GetLength()); }
    // Copies at most capacity − 1 units and a terminating 0; returns the units copied.
    int32_t GetText(char16_t* buffer, int32_t capacity) const;
    const std::u16string& Text() const { return text_; }
    int32_t GetLength() const { return int32_t(text_.size()); }
    // mask: 1 font, 2 colour, 4 inline object.
    void SetStyle(uint32_t mask, const TextStyle& style);
    void SetMaxLength(int32_t n);
    void SetMaxLines(int32_t n);
    int32_t MaxLength() const { return maxLength_; }
    int32_t MaxLines() const { return maxLines_; }
    void SetPassword();
    bool IsPassword() const { return password_; }
    void SetEditable(bool editable, bool active);
    bool IsEditable() const { return !(flags_ & kReadOnly); }
    bool IsActive() const { return (flags_ & kActive) != 0; }
    // One-key and number prompts take plain keys: the input method is given up while on.
    void SetPlainInput(bool on);
    void CopyAllToClipboard();
    bool IsModified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }
    uint32_t Flags() const { return flags_; }
    // Edits keep the old lines while suspended; resuming lays out everything again.
    void SuspendLayout(bool on);
    void SetLayoutWidth(int32_t width);

    // Copy, cut and paste through the clipboard (what Ctrl+C, Ctrl+X and Ctrl+V do).
    bool Copy();
    void Cut();
    void Paste();

    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    void Paint() override;

    // --- state for the input method window, dialogs and tests -------------------------------
    int32_t SelectionStart() const { return selStart_; }
    int32_t SelectionEnd() const { return selEnd_; }
    // The position that moves when the selection is extended.
    int32_t ActivePosition() const { return activeEnd_ ? selEnd_ : selStart_; }
    // Line starts, first 0; a text ending in a line break has an empty last line.
    const std::vector<int32_t>& LineStarts() const { return lines_; }
    int32_t LineCount() const { return int32_t(lines_.size()); }
    int32_t LineOf(int32_t index) const;
    // The caret's top-left in pane coordinates (the content under the view's scroll position).
    base::Point CaretPoint() const;
    // The index whose boundary is nearest to the content point.
    int32_t IndexAt(base::Point content) const;
    const TextStyle& StyleAt(int32_t index) const;
    std::vector<TextRun> RunsOf(int32_t start, int32_t end) const;
    // Lays every line out from scratch, for comparison with the lines kept incrementally.
    std::vector<int32_t> FullLayout() const;

    // The entry typed text goes to when no other claims it: the last editable one created.
    static TextEditPane* MostRecent() { return mostRecent_; }

  private:
    struct Extent {
        int32_t start, end;
    };
    int32_t unitWidth(int32_t index) const;
    int32_t lineEnd(int32_t line) const;
    int32_t lineWidth(int32_t line) const;
    int32_t lineOffset(int32_t line) const;
    int32_t xOf(int32_t index) const;
    // Where the line starting at `start` ends.
    int32_t breakLine(int32_t start) const;
    void layoutAll();
    // The text between editStart and editEnd (new indices) changed; the old text after it moved
    // by delta.
    void relayout(int32_t editStart, int32_t editEnd, int32_t delta);
    void afterEdit(int32_t editStart, int32_t editEnd, int32_t delta, int32_t oldLines);
    void replace(int32_t start, int32_t end, std::u16string_view units,
                 const std::vector<uint32_t>& styles);
    void enforceLimits();
    uint32_t styleIndex(const TextStyle& style);
    void compactStyles();
    void select(int32_t anchor, int32_t active);
    void moveCaret(int code, bool shift);
    Extent wordAt(int32_t index) const;
    Extent lineExtent(int32_t index) const;
    int32_t lastPositionOfLine(int32_t line) const;
    void dragTo(base::Point content);
    void selectionChanged();
    void scrollCaretIntoView();
    void invalidateContent(int32_t top, int32_t bottom);
    void updateImeRequest();
    void updateContentSize();

    std::u16string text_;
    std::vector<uint32_t> unitStyles_;  // a style index per unit
    std::vector<TextStyle> styles_;     // styles_[0] is the entry's default
    std::vector<int32_t> lines_{0};
    int32_t selStart_ = 0, selEnd_ = 0;
    bool activeEnd_ = true;
    TextStyle typingStyle_;
    bool typingStyleValid_ = false;
    bool modified_ = false;
    bool password_ = false;
    bool plainInput_ = false;
    int32_t maxLength_ = kDefaultMaxLength;
    int32_t maxLines_ = kDefaultMaxLines;
    uint32_t flags_;
    int32_t layoutWidth_;
    int32_t textColour_;
    int32_t backColour_;
    uint8_t clickCount_ = 0;
    uint32_t lastClickTime_ = 0;
    int32_t lastClickIndex_ = -1;
    bool dragging_ = false;
    int32_t dragAnchorStart_ = 0, dragAnchorEnd_ = 0;

    static inline TextEditPane* mostRecent_ = nullptr;
};

}  // namespace vs::ui
