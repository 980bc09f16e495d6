#include "graphics/soft_cursor.h"

#include <algorithm>
#include <vector>

#include "app/error.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "base/text.h"
#include "base/time.h"
#include "graphics/canvas.h"
#include "platform/screen.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"

namespace vs::graphics {

using base::Rect;

namespace {

constexpr Rect kScreenRect{0, 0, platform::Screen::kWidth, platform::Screen::kHeight};
constexpr const char* kTableName = "CURSOR.TBL";
constexpr const char* kSpriteName = "CURSOR01.EPF";
constexpr const char* kPaletteName = "CURSOR01.PAL";

int32_t clamped(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

void blitOnce(platform::Screen& screen, const Surface& from, const Rect& area) {
    if (screen.blit(from.pixels(), from.pitch(), area) == platform::ScreenStatus::Lost) {
        screen.restore();
        screen.blit(from.pixels(), from.pitch(), area);
    }
}

}  // namespace

bool ParseCursorTable(std::span<const uint8_t> bytes, CursorTable& out, std::string* why) {
    auto fail = [why](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    if (bytes.size() != kCursorTableBytes)
        return fail(base::strprintf("%zu bytes instead of %zu", bytes.size(), kCursorTableBytes));
    base::ByteReader r(bytes);
    CursorTable t;
    for (int i = 0; i < kCursorTypeCount; ++i) {
        CursorShape& s = t[size_t(i)];
        s.firstFrame = r.i16le();
        s.frameCount = r.i16le();
        s.hotY = r.i32le();
        s.hotX = r.i32le();
        s.height = r.i32le();
        s.width = r.i32le();
        if (s.firstFrame < 0 || s.frameCount < 1)
            return fail(
                base::strprintf("type %d: frames %d from %d", i, s.frameCount, s.firstFrame));
        if (s.width < 1 || s.height < 1 || s.width > kMaxCursorSide || s.height > kMaxCursorSide)
            return fail(base::strprintf("type %d: size %d x %d", i, s.width, s.height));
    }
    out = t;
    return r.ok();
}

void SoftCursor::Load() {
    resources::DATFile file(kTableName);
    std::vector<uint8_t> bytes(size_t(std::max(file.GetSize(), 0)));
    if (!bytes.empty() && file.Read(bytes.data(), int(bytes.size())) != int(bytes.size()))
        throw app::FileError(kTableName);
    CursorTable table;
    std::string why;
    if (!ParseCursorTable(bytes, table, &why))
        throw app::MyError(
            base::utf8ToUtf16("Malformed cursor table " + std::string(kTableName) + " : " + why));
    auto* archives = resources::ArchiveManager::instance();
    if (!archives || !archives->Exists(std::string_view(kPaletteName)))
        throw app::FileError(kPaletteName);
    auto* cache = resources::ImageCache::instance();
    if (!cache) throw app::FileError(kSpriteName);
    const int frames = cache->GetFrameCount(kSpriteName);  // throws FileError when missing
    auto* palettes = resources::PaletteManager::instance();
    const resources::DLPalette* palette =
        palettes ? palettes->GetPaletteByName(kPaletteName) : nullptr;

    std::array<Surface, kCursorTypeCount> shapes;
    for (int i = 0; i < kCursorTypeCount; ++i) {
        const CursorShape& s = table[size_t(i)];
        if (int64_t(s.firstFrame) + s.frameCount > frames)
            throw app::MyError(base::utf8ToUtf16(
                base::strprintf("Malformed cursor table %s : type %d names frames past %d",
                                kTableName, i, frames)));
        Surface& shape = shapes[size_t(i)];
        shape = Surface(s.frameCount * s.width, s.height);
        Canvas canvas;
        canvas.AttachSurface(shape.pixels(), shape.pitch(), shape.bounds());
        for (int k = 0; k < s.frameCount; ++k) {
            resources::PixMap frame;
            cache->GetFrame(kSpriteName, s.firstFrame + k, frame);
            canvas.SetClipArea(Rect::fromSize(k * s.width, 0, s.width, s.height));
            canvas.Lock();
            canvas.DrawPixMapAt(k * s.width, 0, frame, palette, 0);
            canvas.Unlock();
        }
    }
    SetShapes(table, std::move(shapes));
}

void SoftCursor::SetShapes(const CursorTable& table, std::array<Surface, kCursorTypeCount> frames) {
    table_ = table;
    shapes_ = std::move(frames);
    int32_t w = 1, h = 1;
    for (const CursorShape& s : table_) w = std::max(w, s.width), h = std::max(h, s.height);
    saveUnder_ = Surface(w, h);
    scratch_ = Surface(kScreenRect.width(), kScreenRect.height());
    loaded_ = true;
    type_ = 0;
    frame_ = 0;
    shown_ = false;
    drawn_ = {};
    pointerY_ = 240, pointerX_ = 320;
    place();
}

void SoftCursor::place() {
    const CursorShape& s = table_[size_t(type_)];
    const int32_t top = clamped(int64_t(pointerY_) - s.hotY);
    const int32_t left = clamped(int64_t(pointerX_) - s.hotX);
    if (top == rect_.top && left == rect_.left && rect_.height() == s.height &&
        rect_.width() == s.width)
        return;
    rect_ = Rect::fromSize(left, top, s.width, s.height);
}

void SoftCursor::Move(int32_t y, int32_t x) {
    pointerY_ = y, pointerX_ = x;
    place();
}

void SoftCursor::Draw(platform::Screen& screen, const Surface& front) {
    if (!loaded_) return;
    const Rect c = rect_.intersect(kScreenRect);
    drawn_ = {};
    if (c.empty()) return;
    const CursorShape& s = table_[size_t(type_)];
    const int32_t cutLeft = c.left - rect_.left, cutTop = c.top - rect_.top;
    const Surface& shape = shapes_[size_t(type_)];
    const int32_t srcX = frame_ * s.width + cutLeft;
    for (int32_t y = 0; y < c.height(); ++y) {
        const uint16_t* under = front.row(c.top + y) + c.left;
        std::copy_n(under, c.width(), saveUnder_.row(cutTop + y) + cutLeft);
        uint16_t* out = scratch_.row(c.top + y) + c.left;
        const uint16_t* src = shape.row(cutTop + y) + srcX;
        for (int32_t x = 0; x < c.width(); ++x) out[x] = src[x] ? src[x] : under[x];
    }
    blitOnce(screen, scratch_, c);
    drawn_ = c;
    drawnCut_ = {cutLeft, cutTop};
}

void SoftCursor::Erase(platform::Screen& screen) {
    if (drawn_.empty()) return;
    for (int32_t y = 0; y < drawn_.height(); ++y)
        std::copy_n(saveUnder_.row(drawnCut_.y + y) + drawnCut_.x, drawn_.width(),
                    scratch_.row(drawn_.top + y) + drawn_.left);
    blitOnce(screen, scratch_, drawn_);
    drawn_ = {};
}

void SoftCursor::Show(platform::Screen& screen, const Surface& front) {
    if (shown_) return;
    shown_ = true;
    Draw(screen, front);
    screen.flush();
}

void SoftCursor::Hide(platform::Screen& screen) {
    if (!shown_) return;
    shown_ = false;
    Erase(screen);
    screen.flush();
}

void SoftCursor::SetType(int type, platform::Screen& screen, const Surface& front) {
    if (type < 0 || type >= kCursorTypeCount || type == type_) return;
    if (!shown_) {
        type_ = type, frame_ = 0;
        place();
        return;
    }
    Erase(screen);
    type_ = type, frame_ = 0;
    place();
    Draw(screen, front);
    screen.flush();
}

void SoftCursor::MoveShown(int32_t y, int32_t x, platform::Screen& screen, const Surface& front) {
    if (!shown_) return Move(y, x);
    const Rect before = rect_;
    Move(y, x);
    if (rect_ == before) return;
    Erase(screen);
    Draw(screen, front);
    screen.flush();
}

void SoftCursor::NextFrame() {
    frame_ = (frame_ + 1) % std::max<int>(table_[size_t(type_)].frameCount, 1);
}

void SoftCursor::Animate(uint32_t now, platform::Screen& screen, const Surface& front) {
    if (!shown_ || !loaded_) return;
    if (base::timeDiff(now, lastFrame_ + kFrameIntervalMs) <= 0) return;
    lastFrame_ = now;
    Erase(screen);
    NextFrame();
    Draw(screen, front);
    screen.flush();
}

void SoftCursor::Refresh(const Rect& presented, platform::Screen& screen, const Surface& front) {
    if (!shown_) return;
    // The present put the picture without the cursor there; what lies under it may be new.
    if (!drawn_.empty() && !drawn_.intersects(presented)) return;
    Draw(screen, front);
}

}  // namespace vs::graphics
