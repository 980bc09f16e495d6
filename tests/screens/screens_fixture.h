#pragma once
// The pane system with its managers, a string table with the title's texts, and title services
// that record what the screens ask of the program.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "graphics/surface.h"
#include "platform/headless/fake_clock.h"
#include "resources/string_table.h"
#include "screens/title_services.h"
#include "ui/close_list.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"

namespace vs::screens::test {

using Bytes = std::vector<uint8_t>;

inline std::vector<uint8_t> stringTableBytes() {
    std::string text;
    for (int i = 0; i < 160; ++i) {
        if (i == 88) text += "Out of date";
        if (i == 90) text += "They differ";
        if (i == 154) text += "Connection lost";
        if (i == 157) text += "Unreachable";
        text += "\r\n";
    }
    return {text.begin(), text.end()};
}

class ScreensFixture : public testing::Test {
  protected:
    ScreensFixture() {
        for (auto& l : layers) l = std::make_unique<ui::Layer>(&screen);
        for (int i = 0; i < ui::kLayerCount; ++i) {
            raw[size_t(i)] = layers[size_t(i)].get();
            screen.SetLayer(i, raw[size_t(i)]);
        }
        services.send = [this](std::span<const uint8_t> p) {
            sent.emplace_back(p.begin(), p.end());
        };
        services.closeConnection = [this] { calls.push_back("close"); };
        services.connectTo = [this](const platform::Ipv4Address& a, uint16_t port) {
            calls.push_back("connect " + std::to_string(a[0]) + "." + std::to_string(a[1]) + "." +
                            std::to_string(a[2]) + "." + std::to_string(a[3]) + ":" +
                            std::to_string(port));
        };
        services.isConnected = [this] { return connects; };
        services.uploadPendingCrashReport = [this] { calls.push_back("upload"); };
        services.showMessage = [this](std::u16string_view text, std::function<void()> onOk) {
            boxes.emplace_back(text);
            if (onOk) onOk();
        };
        services.askReconnect = [this](std::u16string_view text, std::function<void(bool)> answer) {
            boxes.emplace_back(text);
            answer(reconnect);
        };
        services.openConnectionScreen = [this] { calls.push_back("connection screen"); };
        services.quit = [this] { calls.push_back("quit"); };
        services.random = [this](uint32_t bound) { return nextRandom++ % bound; };
        services.versionAnswer = [this](const net::MsgVersionCheck& m) {
            calls.push_back("patch " + std::to_string(m.newVersion));
        };
    }

    // One frame: closed panes go, the timers that are due fire, the layers are composed.
    void frame() {
        closeList.Empty();
        frameClock.update();
        base::Rect t;
        screen.Compose(back, raw, t);
    }
    void packet(Bytes data) {
        app::InputEvent e;
        e.kind = app::InputEvent::kData;
        e.subKind = 0;
        e.data = std::move(data);
        dispatcher.post(e);
    }
    void key(uint8_t code) {
        app::InputEvent e;
        e.kind = app::InputEvent::kKeyDown;
        e.keyCode = code;
        dispatcher.post(e);
    }
    void mouse(uint8_t kind, int32_t x, int32_t y) {
        app::InputEvent e;
        e.kind = kind;
        e.screenX = e.x = x;
        e.screenY = e.y = y;
        dispatcher.post(e);
    }
    void connectionClosed() {
        app::InputEvent e;
        e.kind = app::InputEvent::kConnectionClosed;
        dispatcher.post(e);
    }

    platform::FakeClock clock;
    app::FrameClock frameClock{clock};
    app::EventDispatcher dispatcher;
    ui::NoticeBus bus;
    ui::CloseList closeList;
    ui::ScreenPane screen;
    std::array<std::unique_ptr<ui::Layer>, ui::kLayerCount> layers;
    std::array<ui::Layer*, ui::kLayerCount> raw{};
    graphics::Surface back{640, 480};
    resources::StringTable strings{stringTableBytes()};

    TitleServices services;
    std::vector<Bytes> sent;
    std::vector<std::string> calls;
    std::vector<std::u16string> boxes;
    bool connects = true;
    bool reconnect = true;
    uint32_t nextRandom = 0;
};

}  // namespace vs::screens::test
