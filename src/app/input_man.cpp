#include "app/input_man.h"

#include <cstdlib>

#include "app/event_dispatcher.h"
#include "app/shell.h"
#include "platform/us_layout.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace vs::app {

using namespace platform;

char usLayoutCharacter(uint8_t vk, bool shift) { return platform::usLayoutCharacter(vk, shift); }

InputMan::InputMan() {
    instance_ = this;
    if (auto* w = Window::instance()) {
        doubleClickTime_ = w->doubleClickTime();
        w->showSystemCursor(false);
        w->warpMouse(320, 240);
        base::Rect screen{0, 0, 640, 480};
        w->clipCursor(&screen);
    }
    modifierTable_[kVkMenu] = InputEvent::kAlt;
    modifierTable_[kVkControl] = InputEvent::kCtrl;
    modifierTable_[kVkShift] = InputEvent::kShift;

    auto& t = unshifted_;
    t[kVkBack] = kKeyBackspace;
    t[kVkTab] = kKeyTab;
    t[kVkReturn] = kKeyEnter;
    t[kVkEscape] = kKeyEscape;
    t[kVkSpace] = kKeySpace;
    t[kVkPrior] = kKeyPageUp;
    t[kVkNext] = kKeyPageDown;
    t[kVkEnd] = kKeyEnd;
    t[kVkHome] = kKeyHome;
    t[kVkLeft] = kKeyLeft;
    t[kVkUp] = kKeyUp;
    t[kVkRight] = kKeyRight;
    t[kVkDown] = kKeyDown;
    t[kVkDelete] = kKeyDelete;
    for (int i = 0; i < 10; ++i) t[size_t('0' + i)] = uint8_t('0' + i);
    for (int i = 0; i < 26; ++i) t[size_t(kVkA + i)] = uint8_t('a' + i);
    for (int i = 0; i < 10; ++i) t[size_t(kVkNumpad0 + i)] = uint8_t('0' + i);
    t[kVkMultiply] = '*';
    t[kVkAdd] = '+';
    t[kVkSubtract] = '-';
    t[kVkDecimal] = '.';
    t[kVkDivide] = '/';
    for (int i = 0; i < 12; ++i) t[size_t(kVkF1 + i)] = uint8_t(kKeyF1 + i);
    t[kVkScroll] = kKeyScrollLock;
    t[kVkOem1] = ';';
    t[kVkOemPlus] = '=';
    t[kVkOemComma] = ',';
    t[kVkOemMinus] = '-';
    t[kVkOemPeriod] = '.';
    t[kVkOem2] = '/';
    t[kVkOem4] = '[';
    t[kVkOem5] = '\\';
    t[kVkOem6] = ']';
    t[kVkOem7] = '\'';
}

InputMan::~InputMan() {
    if (instance_ == this) instance_ = nullptr;
}

void InputMan::postMouse(uint8_t kind, uint32_t time, int32_t wheel) {
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = kind;
    e.y = y_;
    e.x = x_;
    e.modifiers = modifiers_;
    e.wheel = wheel;
    e.time = time;
    d->post(e);
}

void InputMan::mouseMove(int32_t y, int32_t x, uint32_t time) {
    y_ = y;
    x_ = x;
    postMouse(InputEvent::kMouseMove, time);
}

void InputMan::startRepeat() {
    if (auto* fc = FrameClock::instance()) {
        fc->cancel(this, 0);
        fc->schedule(this, 0, 20);
    }
}

void InputMan::stopRepeat() {
    if (auto* fc = FrameClock::instance()) fc->cancel(this, 0);
}

bool InputMan::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != 0) return false;
    auto* fc = FrameClock::instance();
    postMouse(InputEvent::kMouseMove, fc ? fc->now() : 0);
    if (fc) fc->schedule(this, 0, 20);
    return true;
}

void InputMan::click(bool left, uint32_t time) {
    const uint8_t button = left ? 1 : 0;
    const bool near = std::abs(x_ - lastClickX_) + std::abs(y_ - lastClickY_) <= 2;
    if (clickPending_ && lastClickButton_ == button &&
        uint32_t(time - lastClickTime_) < doubleClickTime_ && near) {
        clickPending_ = false;
        postMouse(left ? InputEvent::kLeftDouble : InputEvent::kRightDouble, time);
        return;
    }
    clickPending_ = true;
    lastClickButton_ = button;
    lastClickY_ = y_;
    lastClickX_ = x_;
    lastClickTime_ = time;
    postMouse(left ? InputEvent::kLeftDown : InputEvent::kRightDown, time);
}

void InputMan::leftDown(uint32_t time) { click(true, time); }
void InputMan::rightDown(uint32_t time) { click(false, time); }

void InputMan::leftUp(uint32_t time) {
    postMouse(InputEvent::kLeftUp, time);
    postMouse(InputEvent::kMouseMove, time);
}

void InputMan::rightUp(uint32_t time) {
    postMouse(InputEvent::kRightUp, time);
    postMouse(InputEvent::kMouseMove, time);
}

void InputMan::wheel(uint32_t time, int32_t notches) { postMouse(InputEvent::kWheel, time, notches); }

void InputMan::keyDown(uint32_t virtualKey, uint32_t time) {
    const auto k = uint8_t(virtualKey % 256);
    keyState_[k] |= 0x80;
    modifiers_ |= modifierTable_[k];
    uint8_t code;
    if (!(modifiers_ & (InputEvent::kAlt | InputEvent::kCtrl))) {
        char c = usLayoutCharacter(k, (modifiers_ & InputEvent::kShift) != 0);
        code = c ? uint8_t(c) : unshifted_[k];
    } else {
        code = unshifted_[k];
    }
    if (code == kKeyF4 && (modifiers_ & InputEvent::kAlt)) {
        if (auto* shell = Shell::instance()) shell->requestExit();
    }
    if (k == 0) return;
    if (modifiers_ & InputEvent::kShift) {
        if (code >= 'a' && code <= 'z') code = uint8_t(code - 'a' + 'A');
    } else if (code >= 'A' && code <= 'Z') {
        code = uint8_t(code - 'A' + 'a');
    }
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = InputEvent::kKeyDown;
    e.keyCode = code;
    e.modifiers = modifiers_;
    e.time = time;
    d->post(e);
}

void InputMan::keyUp(uint32_t virtualKey, uint32_t) {
    const auto k = uint8_t(virtualKey % 256);
    keyState_[k] &= 0x7F;
    modifiers_ &= uint8_t(~modifierTable_[k]);
}

void InputMan::text(std::u16string_view text, uint32_t time) {
    auto* d = EventDispatcher::instance();
    if (!d || text.empty()) return;
    InputEvent e;
    e.kind = InputEvent::kText;
    e.text = text.substr(0, InputEvent::kMaxText);
    e.modifiers = modifiers_;
    e.time = time;
    d->post(e);
}

void InputMan::reset() {
    keyState_.fill(0);
    modifiers_ = 0;
    capsLock_ = false;
    numLock_ = false;
}

void InputMan::data(uint8_t subKind, std::vector<uint8_t> bytes) {
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = InputEvent::kData;
    e.subKind = subKind;
    e.data = std::move(bytes);
    d->post(e);
}

void InputMan::dataCopy(const uint8_t* bytes, size_t length) {
    data(0, std::vector<uint8_t>(bytes, bytes + length));
}

void InputMan::postObject(int32_t code, std::unique_ptr<base::LObject> object) {
    auto* w = Window::instance();
    if (!w) return;  // the object is freed here
    Message m(kMsgPostedObject, uint64_t(uint32_t(code)));
    m.object = std::move(object);
    w->post(std::move(m));
}

namespace {
void postIme(uint8_t kind, uint32_t time, std::u16string_view text = {}) {
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = kind;
    e.text = text.substr(0, InputEvent::kMaxComposition);
    e.time = time;
    d->post(e);
}
}  // namespace

void InputMan::imeOpen(bool open, uint32_t time) {
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = InputEvent::kImeOpen;
    e.openFlag = open ? 1 : 0;
    e.time = time;
    d->post(e);
}
void InputMan::imeStart(uint32_t time) { postIme(InputEvent::kImeStart, time); }
void InputMan::imeString(std::u16string_view text, uint32_t time) {
    postIme(InputEvent::kImeString, time, text);
}
void InputMan::imeEnd(uint32_t time) { postIme(InputEvent::kImeEnd, time); }
void InputMan::imeCandidates(int32_t selection, std::shared_ptr<base::LObject> page, uint32_t time) {
    auto* d = EventDispatcher::instance();
    if (!d) return;
    InputEvent e;
    e.kind = InputEvent::kImeCandidates;
    e.selection = selection;
    e.candidates = std::move(page);
    e.time = time;
    d->post(e);
}
void InputMan::imeCandidatesClosed(uint32_t time) { postIme(InputEvent::kImeCandidatesClosed, time); }

}  // namespace vs::app
