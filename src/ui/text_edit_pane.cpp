#include "ui/text_edit_pane.h"

#include <algorithm>
#include <limits>

#include "app/input_man.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "base/text.h"
#include "graphics/canvas.h"
#include "graphics/font_cache.h"
#include "platform/clipboard.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "ui/ime_man.h"
#include "ui/ime_ui_pane.h"

namespace vs::ui {

using app::InputEvent;
using base::Point;
using base::Rect;

namespace {

constexpr size_t kRunRecord = 18;

bool isBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

constexpr char16_t kIdeographs[] = {0x90F5, 0x665F, 0xFA00, 0x501A, 0x743F, 0x6D35};

bool isIdeograph(char16_t c) {
    return std::find(std::begin(kIdeographs), std::end(kIdeographs), c) != std::end(kIdeographs);
}

// Letters and digits (ASCII and Latin-1) and the ideographs against everything else.
bool isWordUnit(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
        return true;
    if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
    return isIdeograph(c);
}

// Filters `in`; origin[k] is the index in `in` of output unit k.
std::u16string filterWithOrigin(std::u16string_view in, bool oneLine, bool dropLineFeeds,
                                std::vector<uint32_t>& origin) {
    std::u16string out;
    for (size_t i = 0; i < in.size(); ++i) {
        const char16_t c = in[i];
        if (dropLineFeeds && c == u'\n') continue;
        if (!TextEditPane::Accepts(c)) continue;
        if (oneLine && isBreak(c)) break;
        out.push_back(c);
        origin.push_back(uint32_t(i));
    }
    return out;
}

std::u16string withoutLineFeeds(std::u16string_view in) {
    std::u16string out;
    for (char16_t c : in)
        if (c != u'\n') out.push_back(c);
    return out;
}

}  // namespace

// --- run data ---------------------------------------------------------------------------------

std::vector<uint8_t> encodeRuns(std::span<const TextRun> runs) {
    base::ByteWriter w;
    for (const TextRun& r : runs) {
        w.u32le(r.start).u32le(r.end).u16le(uint16_t(r.font));
        w.u32le(uint32_t(r.colour)).u32le(uint32_t(r.symbol));
    }
    return w.take();
}

bool decodeRuns(std::span<const uint8_t> data, size_t textLength, std::vector<TextRun>& out) {
    out.clear();
    if (data.size() % kRunRecord != 0) return false;
    base::ByteReader r(data);
    uint32_t previousEnd = 0;
    while (!r.atEnd()) {
        TextRun run;
        run.start = r.u32le();
        run.end = r.u32le();
        run.font = r.i16le();
        run.colour = r.i32le();
        run.symbol = r.i32le();
        if (!r.ok() || run.start < previousEnd || run.end <= run.start || run.end > textLength ||
            run.symbol < -1)
            return false;
        previousEnd = run.end;
        out.push_back(run);
    }
    return true;
}

bool decodeStyledText(std::span<const uint8_t> block, std::u16string& text,
                      std::vector<TextRun>& runs) {
    base::ByteReader r(block);
    const uint32_t n = r.u32le();
    if (!r.ok() || n > r.remaining() / 2) return false;
    std::u16string units(n, u'\0');
    for (uint32_t i = 0; i < n; ++i) units[i] = char16_t(r.u16le());
    const uint32_t m = r.u32le();
    if (!r.ok() || m != r.remaining()) return false;
    if (!decodeRuns(r.bytes(m), n, runs)) return false;
    text = std::move(units);
    return true;
}

std::vector<uint8_t> encodeStyledText(std::u16string_view text, std::span<const TextRun> runs) {
    base::ByteWriter w;
    w.u32le(uint32_t(text.size()));
    for (char16_t c : text) w.u16le(c);
    const std::vector<uint8_t> data = encodeRuns(runs);
    w.u32le(uint32_t(data.size())).bytes(data);
    return w.take();
}

// --- symbols ----------------------------------------------------------------------------------

namespace {
bool symbolFrame(int32_t frame, resources::PixMap& out) {
    auto* cache = resources::ImageCache::instance();
    auto* archives = resources::ArchiveManager::instance();
    if (!cache || !archives || !archives->Exists(std::string_view(SymbolObject::kFileName)))
        return false;
    if (frame < 0 || frame >= cache->GetFrameCount(SymbolObject::kFileName)) return false;
    return cache->GetFrame(SymbolObject::kFileName, frame, out) != nullptr && out.hasPixels();
}
}  // namespace

int32_t SymbolObject::Width() const {
    resources::PixMap frame;
    return symbolFrame(frame_, frame) ? std::max(frame.bounds().right, 1) : 12;
}

void SymbolObject::Draw(graphics::Canvas& canvas) {
    const Point pen = canvas.GetPen();
    resources::PixMap frame;
    if (symbolFrame(frame_, frame)) {
        canvas.DrawPixMap(frame, frame.bounds(), frame.bounds().offset(pen.x, pen.y - 12), 1);
    }
    canvas.MoveTo(pen.x + Width(), pen.y);
}

// --- construction -----------------------------------------------------------------------------

TextEditPane::TextEditPane(int32_t viewWidth, int32_t viewHeight, int32_t layoutWidth,
                           int32_t layoutHeight, int32_t textColour, int32_t backColour,
                           bool horizontalBar, bool verticalBar, uint32_t flags, int16_t font)
    : ScrollView({1, 1}, horizontalBar, verticalBar),
      flags_(flags | kActive | kReserved),
      layoutWidth_(std::max(layoutWidth, 1)),
      textColour_(textColour),
      backColour_(backColour) {
    styles_.push_back(TextStyle{font, textColour, nullptr});
    SetFontId(font);
    SetTextColor(textColour);
    SetRect({0, 0, std::max(viewWidth, 0), std::max(viewHeight, 0)});
    SetContentSize(layoutWidth_, std::max(layoutHeight, kLineHeight));
    updateContentSize();
    if (!(flags_ & kReadOnly)) {
        if (!(flags_ & kNotMostRecent)) mostRecent_ = this;
        if (auto* ui = ImeUiPane::instance()) ui->Register(this, true);
    }
    updateImeRequest();
}

TextEditPane::~TextEditPane() {
    if (mostRecent_ == this) mostRecent_ = nullptr;
    if (auto* ui = ImeUiPane::instance()) ui->Register(this, false);
}

bool TextEditPane::Accepts(char16_t c) {
    if (c < 32) return c == u'\r' || c == u'\n';
    if (c <= 126) return true;
    if (c <= 159) return false;
    if (c <= 254) return true;
    return isIdeograph(c);
}

std::u16string TextEditPane::Filter(std::u16string_view text, bool oneLine) {
    std::vector<uint32_t> origin;
    return filterWithOrigin(text, oneLine, false, origin);
}

// --- measuring and layout ---------------------------------------------------------------------

int32_t TextEditPane::unitWidth(int32_t index) const {
    const char16_t c = text_[size_t(index)];
    const TextStyle& style = styles_[unitStyles_[size_t(index)]];
    if (style.object) return std::max(style.object->Width(), 0);
    if (isBreak(c)) return 0;
    auto* fonts = graphics::FontCache::instance();
    return fonts ? fonts->GlyphAdvance(style.font, password_ ? u'*' : c) : 0;
}

int32_t TextEditPane::breakLine(int32_t start) const {
    const int32_t n = GetLength();
    int32_t x = 0, lastBlank = -1;
    for (int32_t i = start; i < n; ++i) {
        const char16_t c = text_[size_t(i)];
        if (isBreak(c)) return i + 1;
        const int32_t w = unitWidth(i);
        // A line always holds at least one unit.
        if (x + w > layoutWidth_ && i > start) {
            if (lastBlank < 0) return i;
            int32_t end = lastBlank + 1;
            if (lastBlank == i - 1) {
                while (end < n && text_[size_t(end)] < 33) {
                    if (isBreak(text_[size_t(end++)])) break;
                }
            }
            return end;
        }
        x += w;
        if (c < 33) lastBlank = i;
    }
    return n;
}

std::vector<int32_t> TextEditPane::FullLayout() const {
    std::vector<int32_t> lines{0};
    const int32_t n = GetLength();
    for (int32_t s = 0; s < n;) {
        const int32_t e = breakLine(s);
        if (e >= n) {
            if (isBreak(text_.back())) lines.push_back(n);
            break;
        }
        lines.push_back(e);
        s = e;
    }
    return lines;
}

void TextEditPane::layoutAll() {
    lines_ = FullLayout();
    updateContentSize();
}

void TextEditPane::relayout(int32_t editStart, int32_t editEnd, int32_t delta) {
    const std::vector<int32_t> old = std::move(lines_);
    const int32_t n = GetLength();
    // The line before the edit may take in what the edit freed at the start of its line.
    const auto at = std::upper_bound(old.begin(), old.end(), editStart);
    const size_t from = size_t(std::max<ptrdiff_t>(0, (at - old.begin()) - 2));
    lines_.assign(old.begin(), old.begin() + ptrdiff_t(from) + 1);
    for (int32_t s = lines_.back(); s < n;) {
        const int32_t e = breakLine(s);
        if (e >= n) {
            if (isBreak(text_.back())) lines_.push_back(n);
            break;
        }
        if (e >= editEnd) {
            // From a line that starts where an old one did after the edit, the old lines hold.
            const auto same = std::lower_bound(old.begin(), old.end(), e - delta);
            if (same != old.end() && *same == e - delta) {
                for (auto it = same; it != old.end(); ++it) lines_.push_back(*it + delta);
                break;
            }
        }
        lines_.push_back(e);
        s = e;
    }
    updateContentSize();
}

void TextEditPane::updateContentSize() {
    SetContentSize(layoutWidth_, LineCount() * kLineHeight);
}

int32_t TextEditPane::LineOf(int32_t index) const {
    const auto it = std::upper_bound(lines_.begin(), lines_.end(), index);
    return int32_t(std::max<ptrdiff_t>(0, (it - lines_.begin()) - 1));
}

int32_t TextEditPane::lineEnd(int32_t line) const {
    return size_t(line + 1) < lines_.size() ? lines_[size_t(line + 1)] : GetLength();
}

int32_t TextEditPane::lineWidth(int32_t line) const {
    int32_t end = std::min(lineEnd(line), GetLength());
    const int32_t start = std::min(lines_[size_t(line)], end);
    while (end > start && text_[size_t(end - 1)] < 33) --end;
    int32_t w = 0;
    for (int32_t i = start; i < end; ++i) w += unitWidth(i);
    return w;
}

int32_t TextEditPane::lineOffset(int32_t line) const {
    const uint8_t a = Alignment();
    if (a != 1 && a != 2) return 0;
    const int32_t slack = std::max(0, layoutWidth_ - lineWidth(line));
    return a == 1 ? slack / 2 : slack;
}

int32_t TextEditPane::xOf(int32_t index) const {
    const int32_t line = LineOf(index);
    int32_t x = lineOffset(line);
    for (int32_t i = lines_[size_t(line)]; i < index; ++i) x += unitWidth(i);
    return x;
}

int32_t TextEditPane::lastPositionOfLine(int32_t line) const {
    if (line + 1 >= LineCount()) return GetLength();
    return lineEnd(line) - 1;
}

int32_t TextEditPane::IndexAt(Point content) const {
    const int32_t line =
        std::clamp(content.y < 0 ? 0 : content.y / kLineHeight, 0, LineCount() - 1);
    const int32_t last = lastPositionOfLine(line);
    int32_t x = lineOffset(line);
    for (int32_t i = lines_[size_t(line)]; i < last; ++i) {
        const int32_t w = unitWidth(i);
        if (content.x < x + (w + 1) / 2) return i;
        x += w;
    }
    return last;
}

Point TextEditPane::CaretPoint() const {
    const int32_t p = ActivePosition();
    const Point o = GetOrigin();
    return {xOf(p) - o.x, LineOf(p) * kLineHeight - o.y};
}

const TextStyle& TextEditPane::StyleAt(int32_t index) const {
    if (text_.empty()) return styles_[0];
    return styles_[unitStyles_[size_t(std::clamp(index, 0, GetLength() - 1))]];
}

std::vector<TextRun> TextEditPane::RunsOf(int32_t start, int32_t end) const {
    std::vector<TextRun> runs;
    for (int32_t i = std::max(start, 0); i < std::min(end, GetLength()); ++i) {
        const TextStyle& s = styles_[unitStyles_[size_t(i)]];
        const int32_t symbol = s.object ? s.object->SymbolNumber() : -1;
        const auto rel = uint32_t(i - start);
        if (!runs.empty() && runs.back().end == rel && runs.back().font == s.font &&
            runs.back().colour == s.colour && runs.back().symbol == symbol && symbol < 0) {
            ++runs.back().end;
        } else {
            runs.push_back({rel, rel + 1, s.font, s.colour, symbol});
        }
    }
    return runs;
}

// --- editing ----------------------------------------------------------------------------------

uint32_t TextEditPane::styleIndex(const TextStyle& style) {
    for (size_t i = 0; i < styles_.size(); ++i)
        if (styles_[i] == style) return uint32_t(i);
    styles_.push_back(style);
    return uint32_t(styles_.size() - 1);
}

void TextEditPane::compactStyles() {
    if (styles_.size() < 256 || styles_.size() < 2 * text_.size()) return;
    std::vector<TextStyle> kept{styles_[0]};
    std::vector<uint32_t> remap(styles_.size(), UINT32_MAX);
    remap[0] = 0;
    for (uint32_t& s : unitStyles_) {
        if (remap[s] == UINT32_MAX) {
            remap[s] = uint32_t(kept.size());
            kept.push_back(styles_[s]);
        }
        s = remap[s];
    }
    styles_ = std::move(kept);
}

void TextEditPane::replace(int32_t start, int32_t end, std::u16string_view units,
                           const std::vector<uint32_t>& styles) {
    text_.replace(size_t(start), size_t(end - start), units);
    unitStyles_.erase(unitStyles_.begin() + start, unitStyles_.begin() + end);
    unitStyles_.insert(unitStyles_.begin() + start, styles.begin(), styles.end());
}

void TextEditPane::afterEdit(int32_t editStart, int32_t editEnd, int32_t delta, int32_t oldLines) {
    if (!(flags_ & kLayoutSuspended)) relayout(editStart, editEnd, delta);
    const int32_t first = std::max(0, LineOf(editStart) - 1);
    // Lines below move when the count changes or the text after the edit shifted.
    const int32_t last = LineCount() != oldLines || delta != 0
                             ? std::max(LineCount(), oldLines)
                             : std::min(LineCount(), LineOf(editEnd) + 2);
    invalidateContent(first * kLineHeight, last * kLineHeight);
    if (!(flags_ & kNoAutoRepaint)) scrollCaretIntoView();
}

void TextEditPane::InsertText(std::u16string_view text, std::span<const TextRun> runs,
                              std::shared_ptr<TextObject> object) {
    std::vector<uint32_t> origin;
    std::u16string units = filterWithOrigin(text, maxLines_ == 1, false, origin);
    // What cannot fit is cut before it goes in, so that no index ever passes the limit.
    const size_t room = size_t(std::max(0, maxLength_ - selStart_));
    if (units.size() > room) {
        units.resize(room);
        origin.resize(room);
    }
    if (units.empty()) return;
    modified_ = true;

    TextStyle base;
    if (flags_ & kUniformStyle) {
        base = styles_[0];
        runs = {};
    } else if (typingStyleValid_) {
        base = typingStyle_;
    } else {
        base = selStart_ > 0 ? StyleAt(selStart_ - 1) : StyleAt(selEnd_);
    }
    base.object = nullptr;
    const uint32_t baseIndex = styleIndex(base);
    std::vector<uint32_t> styles(units.size(), baseIndex);
    if (!runs.empty()) {
        size_t r = 0;
        std::shared_ptr<TextObject> symbol;
        for (size_t k = 0; k < units.size(); ++k) {
            while (r < runs.size() && runs[r].end <= origin[k]) ++r, symbol.reset();
            if (r == runs.size() || runs[r].start > origin[k]) continue;
            TextStyle s{runs[r].font, runs[r].colour, nullptr};
            if (runs[r].symbol >= 0) {
                // Each unit of a symbol run is a symbol of its own.
                s.object = std::make_shared<SymbolObject>(runs[r].symbol);
            }
            styles[k] = styleIndex(s);
        }
    }
    if (object) {
        TextStyle s = styles_[styles[0]];
        s.object = std::move(object);
        styles[0] = styleIndex(s);
    }

    const int32_t oldLines = LineCount();
    const int32_t start = selStart_;
    const int32_t end = start + int32_t(units.size());
    const int32_t delta = int32_t(units.size()) - (selEnd_ - selStart_);
    replace(selStart_, selEnd_, units, styles);
    selStart_ = selEnd_ = end;
    activeEnd_ = true;
    typingStyleValid_ = false;
    afterEdit(start, end, delta, oldLines);
    enforceLimits();
    compactStyles();
    selectionChanged();
}

void TextEditPane::DeleteRange(int32_t start, int32_t end) {
    start = std::clamp(start, 0, GetLength());
    end = std::clamp(end, 0, GetLength());
    if (start >= end) return;
    modified_ = true;
    const int32_t oldLines = LineCount();
    replace(start, end, {}, {});
    const int32_t removed = end - start;
    auto shift = [&](int32_t p) { return p <= start ? p : p >= end ? p - removed : start; };
    selStart_ = shift(selStart_);
    selEnd_ = shift(selEnd_);
    afterEdit(start, start, -removed, oldLines);
    selectionChanged();
}

void TextEditPane::enforceLimits() {
    if (GetLength() > maxLength_) DeleteRange(maxLength_, GetLength());
    if (flags_ & kLayoutSuspended) return;
    // An empty last line after a final break holds nothing to cut.
    const int32_t filled = LineCount() - (lines_.back() == GetLength() && GetLength() > 0);
    if (filled > maxLines_) DeleteRange(lines_[size_t(maxLines_)], GetLength());
}

void TextEditPane::SetSelection(int32_t start, int32_t end) {
    select(std::clamp(start, 0, GetLength()), std::clamp(end, 0, GetLength()));
    scrollCaretIntoView();
}

void TextEditPane::select(int32_t anchor, int32_t active) {
    const int32_t s = std::min(anchor, active), e = std::max(anchor, active);
    const bool activeEnd = active >= anchor;
    if (s == selStart_ && e == selEnd_ && activeEnd == activeEnd_) return;
    selStart_ = s;
    selEnd_ = e;
    activeEnd_ = activeEnd;
    selectionChanged();
}

int32_t TextEditPane::GetText(char16_t* buffer, int32_t capacity) const {
    if (!buffer || capacity <= 0) return 0;
    const int32_t n = std::min(GetLength(), capacity - 1);
    std::copy_n(text_.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

void TextEditPane::SetStyle(uint32_t mask, const TextStyle& style) {
    auto apply = [&](TextStyle s) {
        if (mask & 1) s.font = style.font;
        if (mask & 2) s.colour = style.colour;
        if (mask & 4) s.object = style.object;
        return s;
    };
    if (flags_ & kUniformStyle) {
        styles_[0] = apply(styles_[0]);
        std::fill(unitStyles_.begin(), unitStyles_.end(), 0u);
        if (!(flags_ & kLayoutSuspended)) layoutAll();
        invalidateContent(0, LineCount() * kLineHeight);
        return;
    }
    if (selStart_ != selEnd_) {
        for (int32_t i = selStart_; i < selEnd_; ++i)
            unitStyles_[size_t(i)] = styleIndex(apply(styles_[unitStyles_[size_t(i)]]));
        modified_ = true;
        const int32_t oldLines = LineCount();
        afterEdit(selStart_, selEnd_, 0, oldLines);
        enforceLimits();
        compactStyles();
        return;
    }
    if (!typingStyleValid_) typingStyle_ = selStart_ > 0 ? StyleAt(selStart_ - 1) : styles_[0];
    typingStyle_ = apply(typingStyle_);
    typingStyleValid_ = true;
    if (text_.empty()) styles_[0] = typingStyle_;
}

void TextEditPane::SetMaxLength(int32_t n) {
    maxLength_ = std::max(n, 0);
    enforceLimits();
}

void TextEditPane::SetMaxLines(int32_t n) {
    maxLines_ = std::max(n, 1);
    enforceLimits();
}

void TextEditPane::SuspendLayout(bool on) {
    if (on) {
        flags_ |= kLayoutSuspended;
        return;
    }
    if (!(flags_ & kLayoutSuspended)) return;
    flags_ &= ~uint32_t(kLayoutSuspended);
    layoutAll();
    enforceLimits();
    Invalidate();
}

void TextEditPane::SetLayoutWidth(int32_t width) {
    layoutWidth_ = std::max(width, 1);
    if (!(flags_ & kLayoutSuspended)) layoutAll();
    Invalidate();
}

void TextEditPane::SetPassword() {
    password_ = true;
    updateImeRequest();
    if (!(flags_ & kLayoutSuspended)) layoutAll();
    Invalidate();
}

void TextEditPane::SetPlainInput(bool on) {
    plainInput_ = on;
    updateImeRequest();
}

void TextEditPane::SetEditable(bool editable, bool active) {
    if (editable)
        flags_ &= ~uint32_t(kReadOnly);
    else
        flags_ |= kReadOnly;
    updateImeRequest();
    if (auto* ui = ImeUiPane::instance()) ui->Register(this, editable);
    if (active)
        flags_ |= kActive;
    else
        flags_ &= ~uint32_t(kActive);
    selectionChanged();
}

void TextEditPane::updateImeRequest() {
    const bool wants = !(flags_ & kReadOnly) && !password_ && !plainInput_;
    SetImeMode(wants ? 1 : 0);
}

// --- clipboard --------------------------------------------------------------------------------

bool TextEditPane::Copy() {
    if (password_ || selStart_ == selEnd_) return false;
    auto* clipboard = platform::Clipboard::instance();
    if (!clipboard) return false;
    std::u16string out;
    for (int32_t i = selStart_; i < selEnd_; ++i) {
        out.push_back(text_[size_t(i)]);
        if (text_[size_t(i)] == u'\r') out.push_back(u'\n');
    }
    if (!clipboard->setText(base::CodePage::current().encode(out))) {
        VS_WARN("the clipboard refused the copied text");
        return false;
    }
    return true;
}

void TextEditPane::Cut() {
    // A text that did not reach the clipboard stays where it is.
    if (Copy() && !(flags_ & kReadOnly)) DeleteRange(selStart_, selEnd_);
}

void TextEditPane::Paste() {
    if (flags_ & kReadOnly) return;
    auto* clipboard = platform::Clipboard::instance();
    if (!clipboard) return;
    if (clipboard->hasPrivate()) {
        std::u16string text;
        std::vector<TextRun> runs;
        const auto block = clipboard->privateData();
        if (block && decodeStyledText(*block, text, runs)) {
            // Line feeds go; the runs keep pointing at the units they styled.
            std::vector<uint32_t> kept;
            std::u16string plain;
            for (size_t i = 0; i < text.size(); ++i) {
                if (text[i] == u'\n') continue;
                kept.push_back(uint32_t(i));
                plain.push_back(text[i]);
            }
            std::vector<TextRun> moved;
            for (TextRun r : runs) {
                r.start =
                    uint32_t(std::lower_bound(kept.begin(), kept.end(), r.start) - kept.begin());
                r.end = uint32_t(std::lower_bound(kept.begin(), kept.end(), r.end) - kept.begin());
                if (r.end > r.start) moved.push_back(r);
            }
            InsertText(plain, (flags_ & kUniformStyle) ? std::span<const TextRun>() : moved);
            return;
        }
        VS_WARN("a damaged styled text on the clipboard; pasting its plain text");
    }
    const auto bytes = clipboard->text();
    if (!bytes) return;
    InsertText(withoutLineFeeds(base::CodePage::current().decode(*bytes)));
}

void TextEditPane::CopyAllToClipboard() {
    if (password_) return;
    SelectAll();
    Copy();
}

// --- keys -------------------------------------------------------------------------------------

TextEditPane::Extent TextEditPane::wordAt(int32_t index) const {
    const int32_t n = GetLength();
    if (n == 0) return {0, 0};
    const int32_t u = std::clamp(index, 0, n - 1);
    const bool cls = isWordUnit(text_[size_t(u)]);
    int32_t s = u, e = u + 1;
    while (s > 0 && isWordUnit(text_[size_t(s - 1)]) == cls && !isBreak(text_[size_t(s - 1)])) --s;
    while (e < n && isWordUnit(text_[size_t(e)]) == cls && !isBreak(text_[size_t(e)])) ++e;
    return {s, e};
}

TextEditPane::Extent TextEditPane::lineExtent(int32_t index) const {
    const int32_t line = LineOf(index);
    return {lines_[size_t(line)], lineEnd(line)};
}

void TextEditPane::moveCaret(int code, bool shift) {
    const int32_t n = GetLength();
    const int32_t active = ActivePosition();
    const int32_t anchor = activeEnd_ ? selStart_ : selEnd_;
    const int dir = code & 3;
    if (!shift && selStart_ != selEnd_ && code < 4) {
        const int32_t p = (dir == 0 || dir == 2) ? selStart_ : selEnd_;
        select(p, p);
        scrollCaretIntoView();
        return;
    }
    const int32_t line = LineOf(active);
    const int32_t x = xOf(active);
    const int32_t top = line * kLineHeight;
    const Rect view = ViewRect();
    const int32_t scrollY = ScrollPos().y;
    int32_t target = active;
    auto atLine = [&](int32_t l) {
        return IndexAt({x, std::clamp(l, 0, LineCount() - 1) * kLineHeight});
    };
    switch (code) {
        case 0:
            target = std::max(0, active - 1);
            break;
        case 1:
            target = std::min(n, active + 1);
            break;
        case 2:
            target = IndexAt({x, top - kLineHeight});
            break;
        case 3:
            target = IndexAt({x, top + kLineHeight});
            break;
        case 4:
            if (active > 0) {
                const bool cls = isWordUnit(text_[size_t(active - 1)]);
                target = active - 1;
                while (target > 0 && isWordUnit(text_[size_t(target - 1)]) == cls) --target;
            }
            break;
        case 5:
            if (active < n) {
                const bool cls = isWordUnit(text_[size_t(active)]);
                target = active + 1;
                while (target < n && isWordUnit(text_[size_t(target)]) == cls) ++target;
            }
            break;
        case 6: {
            const int32_t first = (scrollY + kLineHeight - 1) / kLineHeight;
            target = line > first ? atLine(first)
                                  : IndexAt({x, top - std::max(view.height() - kLineHeight, 0)});
            break;
        }
        case 7: {
            const int32_t last =
                std::min(LineCount() - 1, (scrollY + view.height()) / kLineHeight - 1);
            target = line < last ? atLine(last) : IndexAt({x, top + view.height()});
            break;
        }
        case 8:
            target = lines_[size_t(line)];
            break;
        case 9:
            target = lastPositionOfLine(line);
            break;
        case 10:
            target = 0;
            break;
        case 11:
            target = n;
            break;
        default:
            break;
    }
    if (shift)
        select(anchor, target);
    else
        select(target, target);
    scrollCaretIntoView();
}

bool TextEditPane::OnKey(const InputEvent& event) {
    // Only the entry that shows its caret takes keys; the others leave them to their owner.
    if (!IsActive() || !IsShowing()) return false;
    const bool readOnly = (flags_ & kReadOnly) != 0;
    if (event.kind == InputEvent::kText) {
        if (event.text.empty() || event.text[0] == u'\r' || readOnly) return false;
        if (!password_) InsertText(event.text);
        return true;
    }
    if (event.kind != InputEvent::kKeyDown) return false;
    const uint8_t key = event.keyCode;
    const bool ctrl = (event.modifiers & InputEvent::kCtrl) != 0;
    const bool alt = (event.modifiers & InputEvent::kAlt) != 0;
    const bool shift = (event.modifiers & InputEvent::kShift) != 0;
    if (ctrl && (key == 'c' || key == 'v' || key == 'x')) {
        if (key == 'c') Copy();
        if (key == 'x') Cut();
        if (key == 'v') {
            auto* clipboard = platform::Clipboard::instance();
            if (clipboard && (clipboard->hasPrivate() || clipboard->hasText())) Paste();
        }
        return true;
    }
    if (key == app::kKeyBackspace && !alt) {
        if (readOnly) return true;
        if (selStart_ != selEnd_)
            DeleteRange(selStart_, selEnd_);
        else if (selStart_ > 0)
            DeleteRange(selStart_ - 1, selStart_);
        return true;
    }
    if (key == app::kKeyDelete && !alt) {
        if (readOnly) return true;
        if (selStart_ != selEnd_)
            DeleteRange(selStart_, selEnd_);
        else if (selEnd_ < GetLength())
            DeleteRange(selEnd_, selEnd_ + 1);
        return true;
    }
    if (key == app::kKeyEnter && !alt) {
        if (!readOnly) InsertText(u"\r");
        return true;
    }
    if (key >= 32 && key <= 126) {
        if (password_ && !readOnly && !ctrl && !alt) {
            const char16_t c = key;
            InsertText(std::u16string_view(&c, 1));
        }
        return true;
    }
    if (key >= app::kKeyLeft && key <= app::kKeyDown) {
        static constexpr int kDirection[] = {0, 2, 1, 3};  // Left, Up, Right, Down
        moveCaret(kDirection[key - app::kKeyLeft] + (alt ? 8 : ctrl ? 4 : 0), shift);
        return true;
    }
    return false;
}

// --- mouse ------------------------------------------------------------------------------------

void TextEditPane::dragTo(Point content) {
    const int32_t idx = IndexAt(content);
    int32_t s = dragAnchorStart_, e = dragAnchorEnd_;
    if (clickCount_ == 1) {
        select(s, idx);
        return;
    }
    const Extent x = clickCount_ == 2 ? wordAt(idx) : lineExtent(idx);
    if (x.start < s) {
        select(e, x.start);
    } else {
        select(s, std::max(e, x.end));
    }
}

bool TextEditPane::OnMouse(const InputEvent& event) {
    if (!IsActive()) return false;
    const Point o = GetOrigin();
    const Point local{event.x, event.y};
    const Point content = local + o;
    const Rect view = ViewRect();
    switch (event.kind) {
        case InputEvent::kLeftDown:
        case InputEvent::kLeftDouble: {
            if (!IsShowing() || !view.contains(local)) return false;
            if (auto* ime = ImeMan::instance()) ime->CompleteComposition();
            if (selEnd_ - selStart_ == 1) {
                const TextStyle& s = StyleAt(selStart_);
                const int32_t left = xOf(selStart_);
                const Rect box{left, LineOf(selStart_) * kLineHeight, left + unitWidth(selStart_),
                               (LineOf(selStart_) + 1) * kLineHeight};
                if (s.object && box.contains(content)) {
                    s.object->OnClick(event);
                    return true;
                }
            }
            const int32_t idx = IndexAt(content);
            if (clickCount_ > 0 && uint32_t(event.time - lastClickTime_) <= kMultiClickTime &&
                idx == lastClickIndex_) {
                if (clickCount_ < 255) ++clickCount_;
            } else {
                clickCount_ = 1;
            }
            lastClickTime_ = event.time;
            lastClickIndex_ = idx;
            if (clickCount_ == 1) {
                const int32_t fixed = activeEnd_ ? selStart_ : selEnd_;
                const bool extend = (event.modifiers & InputEvent::kShift) != 0;
                dragAnchorStart_ = dragAnchorEnd_ = extend ? fixed : idx;
                select(dragAnchorStart_, idx);
            } else {
                const Extent x = clickCount_ == 2 ? wordAt(idx) : lineExtent(idx);
                dragAnchorStart_ = x.start;
                dragAnchorEnd_ = x.end;
                select(x.start, x.end);
            }
            dragging_ = true;
            TakeFocus();
            return true;
        }
        case InputEvent::kMouseMove: {
            if (!dragging_) return false;
            int32_t dy = 0, dx = 0;
            if (local.y < view.top) dy = local.y - view.top;
            if (local.y >= view.bottom) dy = local.y - view.bottom + 1;
            if (local.x < view.left) dx = local.x - view.left;
            if (local.x >= view.right) dx = local.x - view.right + 1;
            dx = std::clamp(dx, -kMaxDragScroll, kMaxDragScroll);
            dy = std::clamp(dy, -kMaxDragScroll, kMaxDragScroll);
            if (dx || dy) ScrollBy(dx, dy);
            dragTo(local + GetOrigin());
            return true;
        }
        case InputEvent::kLeftUp:
            if (!dragging_) return false;
            dragging_ = false;
            DropFocus();
            return true;
        default:
            return ScrollView::OnMouse(event);
    }
}

// --- painting ---------------------------------------------------------------------------------

void TextEditPane::invalidateContent(int32_t top, int32_t bottom) {
    const Point o = GetOrigin();
    const Rect view = ViewRect();
    Rect r{view.left, top - o.y, view.right, bottom - o.y};
    // A shorter text leaves old lines below its end to clear.
    r.bottom = std::max(r.bottom, r.top);
    r = r.intersect(view);
    if (!r.empty()) Invalidate(r);
}

void TextEditPane::selectionChanged() {
    // The selection and the caret may be anywhere on view.
    Invalidate(ViewRect());
    if (auto* ui = ImeUiPane::instance()) ui->CaretMoved(this);
}

void TextEditPane::scrollCaretIntoView() {
    const int32_t p = ActivePosition();
    const int32_t x = xOf(p), top = LineOf(p) * kLineHeight;
    MakeVisible({x, top, x + 1, top + kLineHeight});
    if (auto* ui = ImeUiPane::instance()) ui->CaretMoved(this);
}

void TextEditPane::Paint() {
    const Rect clip = GetClipRect();
    const Point o = GetOrigin();
    const Rect view = ViewRect().offset(o.x, o.y);
    const Rect area = clip.intersect(view);
    if (area.empty()) return;
    const int32_t back = (flags_ & kTransparent) ? 0 : backColour_;
    const int32_t savedMode = TransferMode();
    SetTransferMode(0);
    SetPenColor(back);
    FillRect(area);
    SetTextBackMode(1);
    const int32_t n = GetLength();
    const int32_t firstLine = std::max(0, area.top / kLineHeight);
    const int32_t lastLine = std::min(LineCount() - 1, (area.bottom - 1) / kLineHeight);
    const std::u16string stars(size_t(std::max(n, 0)), u'*');
    for (int32_t line = firstLine; line <= lastLine; ++line) {
        const int32_t top = line * kLineHeight, baseline = top + kLineHeight;
        int32_t x = lineOffset(line);
        const int32_t end = lineEnd(line);
        for (int32_t i = lines_[size_t(line)]; i < end;) {
            const uint32_t si = unitStyles_[size_t(i)];
            int32_t j = i + 1;
            while (j < end && unitStyles_[size_t(j)] == si && !isBreak(text_[size_t(j)])) ++j;
            const TextStyle& s = styles_[si];
            MoveTo(x, baseline);
            if (s.object) {
                for (int32_t k = i; k < j; ++k) s.object->Draw(*this);
            } else if (!isBreak(text_[size_t(i)])) {
                SetFontId(s.font);
                SetTextColor((flags_ & kIgnoreRunColours) ? textColour_ : s.colour);
                DrawText(password_ ? std::u16string_view(stars).substr(0, size_t(j - i))
                                   : std::u16string_view(text_).substr(size_t(i), size_t(j - i)));
            } else {
                j = i + 1;
            }
            for (int32_t k = i; k < j; ++k) x += unitWidth(k);
            i = j;
        }
    }
    if (IsActive()) {
        SetTextColor(textColour_);
        if (selStart_ != selEnd_) {
            for (int32_t line = std::max(firstLine, LineOf(selStart_));
                 line <= std::min(lastLine, LineOf(selEnd_)); ++line) {
                const int32_t ls = lines_[size_t(line)], le = lineEnd(line);
                const int32_t a = std::max(selStart_, ls), b = std::min(selEnd_, le);
                if (a >= b) continue;
                int32_t x0 = lineOffset(line), x1;
                for (int32_t i = ls; i < a; ++i) x0 += unitWidth(i);
                x1 = x0;
                for (int32_t i = a; i < b; ++i)
                    x1 += std::max(unitWidth(i), isBreak(text_[size_t(i)]) ? 4 : 0);
                InvertRect({x0, line * kLineHeight, x1, (line + 1) * kLineHeight});
            }
        } else if (!(flags_ & kReadOnly)) {
            const int32_t p = selStart_;
            const int32_t x = xOf(p), top = LineOf(p) * kLineHeight;
            SetPenColor(textColour_);
            FillRect({x, top, x + 1, top + kLineHeight});
        }
    }
    SetTransferMode(uint8_t(savedMode));
}

}  // namespace vs::ui
