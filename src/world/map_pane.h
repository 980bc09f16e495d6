#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "base/rect.h"
#include "net/server_message_rules.h"
#include "net/server_messages.h"
#include "ui/pane.h"
#include "world/map_grid.h"
#include "world/object_store.h"
#include "world/user_pane.h"

namespace vs::world {

class SceneOverlayPane;

// The world view: the current map, the objects around the view and the server's word about
// them. Drawing the view is not here yet: the pane keeps the world, the debug view draws it.
class MapPane : public ui::Pane, public net::ObjectDirectory {
  public:
    static constexpr int32_t kColumns = 17, kRows = 15;
    static constexpr int32_t kNoOrigin = -30000;
    static constexpr base::Rect kPlacement{-10, -12, -10 + 456, -12 + 408};

    // Commands go to `sender` (none: the connection); map files live in `mapsDir`.
    MapPane(net::CommandSender* sender, std::filesystem::path mapsDir);
    ~MapPane() override;
    static MapPane* instance() { return instance_; }

    bool OnPacket(const app::InputEvent& event) override;
    // One parsed message, as OnPacket hands it on.
    void Handle(const net::ServerMessage& message);
    bool holdsObject(uint32_t id) const override;

    MapGrid& Grid() { return grid_; }
    const MapGrid& Grid() const { return grid_; }
    ObjectStore& Store() { return *store_; }
    const ObjectStore& Store() const { return *store_; }
    UserPane& User() { return user_; }
    int32_t originX() const { return ox_; }
    int32_t originY() const { return oy_; }
    uint16_t mapFlags() const { return mapFlags_; }
    uint16_t light() const { return light_; }
    // After a map change the view waits for the player's own character.
    bool waitingForPlayer() const { return waitingForPlayer_; }
    base::Point CellOf(int32_t px, int32_t py) const {
        return {ox_ + px / 24 - 1, oy_ + py / 24 - 1};
    }

    // --- world operations ---------------------------------------------------------------------
    bool SetView(int32_t x, int32_t y, int32_t viewColumn, int32_t viewRow);
    void EnterMap(const net::MsgMapSize& m);
    void AddOrRefresh(uint32_t id, int32_t x, int32_t y, uint8_t direction, const Appearance& a,
                      const std::u16string& name);
    void RemoveObject(uint32_t id);
    void RequestObject(uint32_t id);
    void RefreshStatics(const base::Rect& cells);
    void ShowBalloon(uint8_t kind, ObjectPane& owner, std::u16string_view text);
    void ShowHealth(ObjectPane& owner, int32_t percent, int32_t maximum);
    // A creature plays its death and goes; anything else goes at once.
    void Death(uint32_t id);
    void CreatureMotion(CharacterObjectPane& c, int32_t serverMotion);
    void Missile(const net::MsgFlyingObject& m);
    // Durations in ms; −1 loops until removed.
    void AddEffectOnObject(uint32_t id, int32_t effect, int64_t durationMs, bool onTop);
    void AddEffectAt(int32_t x, int32_t y, int32_t effect, int64_t durationMs, bool onTop);
    void Emitter(const net::MsgSoundEffect& m);
    // The scene overlay of message 90; none when the picture is missing or short.
    SceneOverlayPane* OpenScene(const net::MsgScene& m);
    // The shield that glows, and its glow.
    static constexpr uint8_t kGlowShield = 16;
    static constexpr int32_t kGlowEffect = 135;
    void Glow(CharacterObjectPane& c, bool hadGlow);
    void SetRandomSeed(uint32_t seed) { rng_.seed(seed); }
    // Where the world's sounds go (number, volume percent); tests record them.
    void SetSoundSink(std::function<void(int32_t, int32_t)> sink) { playSound_ = std::move(sink); }
    // Leaving the world for the title: the map is stored, the player unfiled, the next map
    // entered afresh.
    void LeaveWorld();

    // Destroys objects removed since the last call (the frame step does it through the close
    // list when there is one).
    void CollectRemoved() { removed_.clear(); }
    size_t RemovedCount() const { return removed_.size(); }

  private:
    void dispose(std::unique_ptr<ObjectPane> object);
    ObjectPane* adopt(std::unique_ptr<ObjectPane> object);
    EffectObjectPane* findEffect(ObjectPane& owner, ObjectType type, int32_t effect);
    void startEffect(ObjectPane* owner, int32_t x, int32_t y, int32_t effect, int64_t durationMs,
                     bool onTop);
    void unfile(ObjectPane* object);
    void place(ObjectPane* object);
    void stepEnded(CharacterObjectPane& c);
    base::Rect staticsArea() const;
    void send(const auto& command);

    static inline MapPane* instance_ = nullptr;
    net::CommandSender* sender_;
    std::filesystem::path mapsDir_;
    MapGrid grid_;
    std::unique_ptr<ObjectStore> store_;
    UserPane user_;
    std::vector<uint8_t> blocking_;
    int32_t ox_ = kNoOrigin, oy_ = kNoOrigin;
    uint16_t mapFlags_ = 0;
    uint8_t viewMode_ = 0;
    uint16_t light_ = 0;
    bool waitingForPlayer_ = false;
    bool forceNextEnter_ = false;
    std::vector<std::unique_ptr<ObjectPane>> removed_;
    std::function<void(int32_t, int32_t)> playSound_;
    std::mt19937 rng_{1};
};

}  // namespace vs::world
