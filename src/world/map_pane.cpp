#include "world/map_pane.h"

#include <algorithm>

#include "app/error.h"
#include "audio/sound_man.h"
#include "app/frame_clock.h"
#include "base/log.h"
#include "net/client_commands.h"
#include "net/connection.h"
#include "resources/archive_manager.h"
#include "ui/close_list.h"
#include "world/effect_image_lib.h"
#include "world/image_lib_support.h"
#include "world/image_tables.h"
#include "world/scene_overlay_pane.h"
#include "world/static_obj_image_lib.h"

namespace vs::world {

namespace {

template <class... F>
struct Visit : F... {
    using F::operator()...;
};
// Clang does not deduce aggregate bases yet.
template <class... F>
Visit(F...) -> Visit<F...>;

// Commands go out through the connection when nobody else was given.
class ConnectionSender final : public net::CommandSender {
  public:
    void send(std::span<const uint8_t> payload) override {
        if (auto* c = net::Connection::instance()) c->send(payload);
    }
};
ConnectionSender gConnection;

}  // namespace

MapPane::MapPane(net::CommandSender* sender, std::filesystem::path mapsDir)
    : ui::Pane(kHidden),
      sender_(sender ? sender : &gConnection),
      mapsDir_(std::move(mapsDir)),
      store_(std::make_unique<ObjectStore>(kNoOrigin, kNoOrigin, kColumns, kRows)) {
    instance_ = this;
    if (auto* lib = StaticObjImageLib::instance()) {
        blocking_.assign(size_t(lib->count()), 0);
        for (int32_t n = 1; n < lib->count(); ++n)
            if (const auto* info = lib->GetObjectInfo(n)) blocking_[size_t(n)] = info->blocking;
    }
    user_.stepEnded = [this](CharacterObjectPane& c, int32_t, int32_t) { stepEnded(c); };
    CharacterObjectPane::playSound = [this](int32_t sound, int32_t percent) {
        if (playSound_) playSound_(sound, percent);
    };
}

MapPane::~MapPane() {
    grid_.Store(mapsDir_);
    std::vector<std::unique_ptr<ObjectPane>> dropped;
    store_->Clear(dropped);
    store_->Remove(&user_);
    if (instance_ == this) {
        instance_ = nullptr;
        CharacterObjectPane::playSound = nullptr;
    }
}

template <class C>
void MapPane::send(const C& command) {
    if (sender_) net::sendCommand(*sender_, command);
}

bool MapPane::holdsObject(uint32_t id) const {
    return id != 0 && store_->FindById(id) != nullptr;
}

bool MapPane::OnPacket(const app::InputEvent& event) {
    if (event.subKind != 0) return false;
    const auto message = net::parseServerMessage(event.data);
    if (!message) return false;
    Handle(*message);
    return false;  // other panes may act on the same message
}

void MapPane::Handle(const net::ServerMessage& message) {
    if (sender_ && net::dropForUnknownObject(message, *this, *sender_)) return;
    std::visit(
        Visit{
            [&](const net::MsgUserAppearance& m) {
                user_.setId(m.id);
                user_.setFacing(m.facing);
            },
            [&](const net::MsgMapSize& m) { EnterMap(m); },
            [&](const net::MsgUserPosition& m) {
                if (!m.accept()) return;
                SetView(m.x, m.y, m.viewColumn, m.viewRow);
            },
            [&](const net::MsgMap& m) {
                grid_.ApplyServerTiles(
                    m.x, m.y, m.width, m.height,
                    std::span(reinterpret_cast<const MapCell*>(m.cells.data()), m.cells.size()),
                    [&](int32_t x, int32_t y) {
                        Invalidate(
                            base::Rect::fromSize((x - ox_ + 1) * 24, (y - oy_ + 1) * 24, 24, 24));
                    });
                if (!waitingForPlayer_)
                    RefreshStatics(base::Rect::fromSize(m.x, m.y, m.width, m.height));
            },
            [&](const net::MsgDrawObjects& m) {
                for (const auto& o : m.objects) {
                    Appearance a;
                    a.kind = o.isCreature() ? Appearance::kCreature : Appearance::kItem;
                    a.image = o.image;
                    a.colour = o.colour;
                    AddOrRefresh(o.id, o.x, o.y, o.direction, a, {});
                }
            },
            [&](const net::MsgCharacter& m) {
                AddOrRefresh(m.id, m.x, m.y, m.direction, m.appearance, m.name);
            },
            [&](const net::MsgMoveObject& m) {
                auto* o = store_->FindById(m.id);
                if (!o || o->type() != kCharacterObject) return;
                auto* c = static_cast<CharacterObjectPane*>(o);
                if (c->walking()) c->EndStep();
                if (!store_->Holds(c)) return;  // the step's end took it away
                if (c->x() != m.x || c->y() != m.y) {
                    // The start cell: outside the area the object goes.
                    const base::Point from{c->x(), c->y()};
                    c->SetCell(m.x, m.y);
                    std::unique_ptr<ObjectPane> dropped;
                    if (!store_->MoveObject(c, from, dropped)) {
                        if (dropped) dispose(std::move(dropped));
                        return;
                    }
                }
                c->Walk(m.x, m.y, m.direction);
                place(c);
            },
            [&](const net::MsgChangeDirection& m) {
                if (auto* o = store_->FindById(m.id); o && o->type() == kCharacterObject) {
                    static_cast<CharacterObjectPane*>(o)->Turn(m.direction);
                    Invalidate(o->GetScreenBounds());
                }
            },
            [&](const net::MsgRemoveObject& m) { RemoveObject(m.id); },
            [&](const net::MsgObjectGone& m) { Death(m.id); },
            [&](const net::MsgSay& m) {
                if (!m.accept()) return;
                if (m.kind == 0 && user_.conditions()[2] != 0) return;
                if (m.kind == 1 && user_.conditions()[2] == 2) return;
                if (auto* o = store_->FindById(m.id)) ShowBalloon(m.kind, *o, m.text);
            },
            [&](const net::MsgDamageEffect& m) {
                auto* o = store_->FindById(m.id);
                if (!o) return;
                if (playSound_) playSound_(0, 100);
                if (o->type() == kCharacterObject) {
                    auto* c = static_cast<CharacterObjectPane*>(o);
                    const bool plain = c->isCreature() && c->appearance().image >= 33140 &&
                                       c->appearance().image <= 33158;
                    if (!plain) c->Flash(CharacterObjectPane::damageColourFor(m.strength));
                }
                for (ObjectPane* a : store_->AttachedTo(o))
                    if (a->type() == kHealthBarObject) unfile(a);
                if (m.healthPercent <= 100) ShowHealth(*o, m.healthPercent, 100);
            },
            [&](const net::MsgMotion& m) {
                auto* o = store_->FindById(m.id);
                if (!o || o->type() != kCharacterObject) return;
                auto* c = static_cast<CharacterObjectPane*>(o);
                if (c->isCreature()) {
                    CreatureMotion(*c, m.motion);
                } else {
                    c->PlayMotion(m.motion, uint32_t(m.duration) * 10, m.sound);
                }
                Invalidate(c->GetScreenBounds());
            },
            [&](const net::MsgWield& m) {
                auto* o = store_->FindById(m.id);
                if (!o || o == &user_ || o->type() != kCharacterObject || !m.animated()) return;
                static_cast<CharacterObjectPane*>(o)->PlayMotion(m.action, 300, -1);
            },
            [&](const net::MsgFlyingObject& m) { Missile(m); },
            [&](const net::MsgEffectLayer& m) {
                if (m.effect == net::MsgEffectLayer::kScreenFlash) return;  // Flash: later
                const int64_t ms = int64_t(m.duration) * 1000;
                const bool onTop = m.effect >= 160 && m.effect <= 162;
                if (m.id != 0) {
                    AddEffectOnObject(m.id, m.effect, ms, onTop);
                } else {
                    AddEffectAt(m.x, m.y, m.effect, ms, onTop);
                }
            },
            [&](const net::MsgSoundEffect& m) { Emitter(m); },
            [&](const net::MsgScene& m) { OpenScene(m); },
            [&](const net::MsgChangeShape& m) {
                auto* o = store_->FindById(m.id);
                if (!o || o->type() != kCharacterObject) return;
                auto* c = static_cast<CharacterObjectPane*>(o);
                if (c->isCreature() != (m.appearance.kind == Appearance::kCreature)) return;
                const Appearance old = c->appearance();
                c->setAppearance(m.appearance);
                if (!c->isCreature()) {
                    if (playSound_ && old.body != m.appearance.body)
                        playSound_(m.appearance.body < 2 ? 411 : 410, 100);
                    else if (playSound_ && old.weapon != m.appearance.weapon)
                        playSound_(m.appearance.weapon > 254 ? 411 : 410, 100);
                    else if (playSound_ && old.shield != m.appearance.shield)
                        playSound_(m.appearance.shield == 255 ? 411 : 410, 100);
                    Glow(*c, old.shield == kGlowShield);
                }
                place(c);
            },
            [&](const net::MsgChangeCondition& m) { user_.setConditions(m.conditions); },
            [&](const net::MsgTileCheck& m) {
                if (!net::serverTransfer(m)) return;
                unfile(&user_);
                forceNextEnter_ = true;
            },
            [](const auto&) {},
        },
        message);
}

base::Rect MapPane::staticsArea() const {
    return base::Rect{ox_ - 1, oy_ - 1, ox_ + kColumns + 1, oy_ + kRows + 10}.intersect(
        store_->Area(kStaticObject));
}

void MapPane::place(ObjectPane* o) {
    Invalidate(o->GetScreenBounds());
    o->CalcBoundsOnScreen(cellPixel(o->x(), o->y(), ox_, oy_));
    Invalidate(o->GetScreenBounds());
}

void MapPane::EnterMap(const net::MsgMapSize& m) {
    const bool forced = forceNextEnter_;
    forceNextEnter_ = false;
    if (m.number != grid_.number() || forced) {
        auto* sound = audio::SoundMan::instance();
        if (sound && sound->MusicOn()) sound->StopMusic(3000);
    }
    const auto r = grid_.Enter(mapsDir_, m.number, m.width, m.height, forced);
    mapFlags_ = m.flags;
    viewMode_ = m.edgeView;
    light_ = m.light;
    if (r.numberChanged || r.resized) {
        // Every object but the player goes; the player waits for the next 51 to be filed.
        std::vector<std::unique_ptr<ObjectPane>> dropped;
        store_->Remove(&user_);
        store_->Clear(dropped);
        for (auto& d : dropped) dispose(std::move(d));
        if (user_.walking()) user_.EndStep();
        store_ = std::make_unique<ObjectStore>(ox_, oy_, kColumns, kRows);
        waitingForPlayer_ = true;
    }
    Invalidate(GetBounds());
}

bool MapPane::SetView(int32_t x, int32_t y, int32_t viewColumn, int32_t viewRow) {
    if (!grid_.inside(x, y) || viewColumn < 0 || viewRow < 0 || viewColumn >= kColumns ||
        viewRow >= kRows)
        return false;
    ox_ = x - viewColumn, oy_ = y - viewRow;
    std::vector<std::unique_ptr<ObjectPane>> dropped;
    store_->SetOrigin(ox_, oy_, dropped);
    for (auto& d : dropped) dispose(std::move(d));
    if (user_.walking()) user_.EndStep();
    user_.placeAt(x, y);
    store_->ForEach(
        [&](ObjectPane* o) { o->CalcBoundsOnScreen(cellPixel(o->x(), o->y(), ox_, oy_)); });
    RefreshStatics(staticsArea());
    const base::Rect area = grid_.Clip(widenedView(ox_, oy_));
    net::CmdAreaChecksum c;
    c.left = uint16_t(area.left), c.top = uint16_t(area.top);
    c.width = uint8_t(area.width()), c.height = uint8_t(area.height());
    c.checksum = grid_.Checksum(area);
    send(c);
    Invalidate(GetBounds());
    return true;
}

void MapPane::AddOrRefresh(uint32_t id, int32_t x, int32_t y, uint8_t direction,
                           const Appearance& a, const std::u16string& name) {
    if (!store_->InArea(kCharacterObject, x, y)) return;
    bool own = id != 0 && id == user_.id();
    ObjectPane* existing = nullptr;
    if (own && a.kind == Appearance::kItem) {
        // An item under the player's id: the player waits for its next 51.
        unfile(&user_);
        own = false;
    }
    if (own) {
        ObjectPane* other = store_->FindById(id);
        if (other && other != &user_) RemoveObject(id);
        Appearance look = a;
        if (look.state == state::kHidden) look.state = state::kTranslucent;
        user_.setAppearance(look);
        user_.setName(name);
        if (user_.walking()) user_.EndStep();
        const bool inView = x >= ox_ && y >= oy_ && x < ox_ + kColumns && y < oy_ + kRows;
        if (!inView) {
            const int32_t nx = std::clamp(x - 8, 0, std::max(0, grid_.width() - kColumns));
            const int32_t ny = std::clamp(y - 7, 0, std::max(0, grid_.height() - kRows));
            SetView(x, y, x - nx, y - ny);
        }
        store_->Remove(&user_);
        user_.placeAt(x, y);
        user_.setFacing(direction);
        if (store_->File(&user_)) {
            store_->KeepOnClear(&user_);
            waitingForPlayer_ = false;
        }
        place(&user_);
        return;
    }
    existing = store_->FindById(id);
    const bool character = a.kind == Appearance::kCharacter || a.kind == Appearance::kCreature;
    if (existing &&
        (existing->type() != (character ? kCharacterObject : kItemObject) || !character)) {
        // Another kind of object under this id (or an item renewed) goes first.
        RemoveObject(id);
        existing = nullptr;
    }
    if (existing) {
        auto* c = static_cast<CharacterObjectPane*>(existing);
        if (c->walking()) c->EndStep();
        if (!store_->Holds(c)) return;
        const bool glowed = !c->isCreature() && c->appearance().shield == kGlowShield;
        c->setAppearance(a);
        if (!c->isCreature()) Glow(*c, glowed);
        if (!name.empty()) c->setName(name);
        const base::Point from{c->x(), c->y()};
        c->SetCell(x, y);
        c->setFacing(direction);
        std::unique_ptr<ObjectPane> dropped;
        if (store_->MoveObject(c, from, dropped)) {
            place(c);
        } else {
            dispose(std::move(dropped));
        }
        return;
    }
    std::unique_ptr<ObjectPane> made;
    if (character) {
        Appearance look = a;
        if (user_.dead() && look.kind == Appearance::kCharacter && look.state == state::kHidden)
            look.state = state::kTranslucent;
        auto c = std::make_unique<CharacterObjectPane>(id, x, y, direction, look, name);
        c->stepEnded = [this](CharacterObjectPane& ch, int32_t, int32_t) { stepEnded(ch); };
        made = std::move(c);
    } else if (a.kind == Appearance::kItem) {
        made = std::make_unique<ItemObjectPane>(id, x, y, a.image, a.colour);
    } else {
        return;
    }
    made->CalcBoundsOnScreen(cellPixel(x, y, ox_, oy_));
    if (ObjectPane* filed = store_->Add(made)) {
        Invalidate(filed->GetScreenBounds());
        if (character && a.kind == Appearance::kCharacter)
            Glow(*static_cast<CharacterObjectPane*>(filed), false);
    }
}

void MapPane::stepEnded(CharacterObjectPane& c) {
    const base::Rect widened = widenedView(ox_, oy_);
    if (&c != &user_ && !widened.contains(base::Point{c.x(), c.y()})) {
        if (auto owned = store_->Remove(&c)) dispose(std::move(owned));
        return;
    }
    std::unique_ptr<ObjectPane> dropped;
    if (!store_->MoveObject(&c, {}, dropped)) {
        if (dropped) dispose(std::move(dropped));
        return;
    }
    place(&c);
    for (ObjectPane* a : store_->AttachedTo(&c)) {
        a->SetCell(c.x(), c.y());
        std::unique_ptr<ObjectPane> lost;
        if (store_->MoveObject(a, {}, lost)) {
            place(a);
        } else {
            dispose(std::move(lost));
        }
    }
}

void MapPane::unfile(ObjectPane* object) {
    Invalidate(object->GetScreenBounds());
    for (ObjectPane* a : store_->AttachedTo(object)) unfile(a);
    if (auto owned = store_->Remove(object)) dispose(std::move(owned));
}

void MapPane::RemoveObject(uint32_t id) {
    ObjectPane* o = store_->FindById(id);
    if (!o) return;
    if (o->type() == kCharacterObject) {
        auto* c = static_cast<CharacterObjectPane*>(o);
        if (c->walking()) {
            // The step ends where it was going, but nothing more happens with it.
            auto hook = std::move(c->stepEnded);
            c->stepEnded = nullptr;
            c->EndStep();
            c->stepEnded = std::move(hook);
        }
    }
    unfile(o);
}

ObjectPane* MapPane::adopt(std::unique_ptr<ObjectPane> object) {
    object->expired = [this](ObjectPane& o) { unfile(&o); };
    object->CalcBoundsOnScreen(cellPixel(object->x(), object->y(), ox_, oy_));
    ObjectPane* filed = store_->Add(object);
    if (filed) Invalidate(filed->GetScreenBounds());
    return filed;
}

void MapPane::ShowBalloon(uint8_t kind, ObjectPane& owner, std::u16string_view text) {
    for (ObjectPane* a : store_->AttachedTo(&owner))
        if (a->type() == kBalloonObject) unfile(a);
    adopt(std::make_unique<BalloonObjectPane>(owner, kind, text));
}

void MapPane::ShowHealth(ObjectPane& owner, int32_t percent, int32_t maximum) {
    adopt(std::make_unique<HealthBarObjectPane>(owner, percent, maximum));
}

void MapPane::Death(uint32_t id) {
    ObjectPane* o = store_->FindById(id);
    if (!o) return;
    if (o == &user_) {
        unfile(o);
        return;
    }
    if (o->type() == kCharacterObject) {
        auto* c = static_cast<CharacterObjectPane*>(o);
        if (c->isCreature() && !c->dying()) {
            c->setDying();
            if (c->walking()) c->EndStep();
            if (!store_->Holds(c)) return;
            c->expired = [this](ObjectPane& gone) { unfile(&gone); };
            if (c->PlayCreatureMotion(0)) return;
        }
    }
    RemoveObject(id);
}

void MapPane::CreatureMotion(CharacterObjectPane& c, int32_t m) {
    if (c.dying() || c.motion() < 1 || c.motion() > 8) return;
    const int32_t f = c.facing();
    int32_t motion = 4;
    switch (m) {
        case 0:
            motion = 5 + f;
            break;
        case 1:
            motion = 13 + f;
            break;
        case 2:
            motion = 17 + f;
            break;
        case 3:
            motion = 21 + f;
            break;
        case 4:
            motion = 25 + f;
            break;
        case 5:
            motion = 29 + f;
            break;
        case 25:
            motion = 9 + f;
            break;
        case 6:
            return;
        default:
            break;
    }
    c.PlayCreatureMotion(motion);
}

void MapPane::Missile(const net::MsgFlyingObject& m) {
    if (auto* shooter = store_->FindById(m.shooter);
        shooter && shooter->type() == kCharacterObject && shooter != &user_)
        static_cast<CharacterObjectPane*>(shooter)->PlayMotion(m.motion, 300, -1);
    if (store_->FindById(m.missile)) RemoveObject(m.missile);
    if (!store_->InArea(kMissileObject, m.startX, m.startY)) return;
    auto missile = std::make_unique<MissileObjectPane>(m.missile, m.image, m.imageExtra,
                                                       base::Point{m.startX, m.startY},
                                                       base::Point{m.endX, m.endY}, m.target);
    missile->arrived = [this](MissileObjectPane& p) {
        auto* t = store_->FindById(p.target());
        if (!t || t->type() != kCharacterObject) return;
        auto* c = static_cast<CharacterObjectPane*>(t);
        if (playSound_) playSound_(701, 100);
        const bool plain =
            c->isCreature() && c->appearance().image >= 33140 && c->appearance().image <= 33158;
        if (!plain) c->Flash(142);
    };
    MissileObjectPane* raw = missile.get();
    if (playSound_) playSound_(709, 100);
    if (adopt(std::move(missile))) raw->Launch();
}

EffectObjectPane* MapPane::findEffect(ObjectPane& owner, ObjectType type, int32_t effect) {
    for (ObjectPane* a : store_->AttachedTo(&owner)) {
        auto* e = a->type() == type ? static_cast<EffectObjectPane*>(a) : nullptr;
        if (e && e->effect() == effect && e->looping()) return e;
    }
    return nullptr;
}

void MapPane::startEffect(ObjectPane* owner, int32_t x, int32_t y, int32_t effect,
                          int64_t durationMs, bool onTop) {
    auto* lib = EffectImageLib::instance();
    if (!lib) return;
    const tables::Effect e = lib->GetEffect(effect);
    for (const bool front : {true, false}) {
        const tables::EffectList& list = front ? e.front : e.behind;
        if (list.frames.empty()) continue;
        const ObjectType type = front ? kFrontEffectObject : kBackEffectObject;
        if (owner && list.loops()) {
            if (EffectObjectPane* copy = findEffect(*owner, type, effect)) {
                if (durationMs > 0) {
                    copy->RestartLoopEnd(durationMs);
                } else if (front ? durationMs == 0 : true) {
                    unfile(copy);
                }
                continue;
            }
        }
        auto made = std::make_unique<EffectObjectPane>(type, effect, list, x, y, onTop);
        made->attachTo(owner);
        EffectObjectPane* raw = made.get();
        if (adopt(std::move(made))) raw->Start(durationMs);
    }
}

void MapPane::AddEffectOnObject(uint32_t id, int32_t effect, int64_t durationMs, bool onTop) {
    if (auto* o = store_->FindById(id)) startEffect(o, o->x(), o->y(), effect, durationMs, onTop);
}

void MapPane::AddEffectAt(int32_t x, int32_t y, int32_t effect, int64_t durationMs, bool onTop) {
    if (!widenedView(ox_, oy_).contains(base::Point{x, y})) return;
    startEffect(nullptr, x, y, effect, durationMs, onTop);
}

void MapPane::Glow(CharacterObjectPane& c, bool had) {
    const bool has = c.appearance().shield == kGlowShield;
    if (has && !had) {
        AddEffectOnObject(c.id(), kGlowEffect, -1, false);
    } else if (had && !has) {
        for (ObjectPane* a : store_->AttachedTo(&c))
            if (a->type() == kFrontEffectObject &&
                static_cast<EffectObjectPane*>(a)->effect() == kGlowEffect)
                unfile(a);
    }
}

void MapPane::Emitter(const net::MsgSoundEffect& m) {
    if (m.kind != net::MsgSoundEffect::kEffect) return;
    const auto number = m.soundNumber();
    const auto volume = m.volume();
    if (!number || !volume) return;
    ObjectPane* source = nullptr;
    int32_t x = 0, y = 0;
    if (m.source.kind == net::MsgSoundEffect::kSourceObject) {
        const auto id = m.sourceObject();
        source = id ? store_->FindById(*id) : nullptr;
        if (!source) return;  // nothing to follow
        x = source->x(), y = source->y();
    } else if (const auto cell = m.sourceCell()) {
        x = cell->first, y = cell->second;
    } else {
        return;
    }
    SoundEmitterObjectPane::Plan plan;
    plan.sound = *number;
    plan.volume = *volume;
    plan.modifier = m.modifier.kind;
    if (plan.modifier == 3 || plan.modifier == 4) {
        const auto value = m.modifierValue();
        if (!value) return;
        plan.periodMs = *value;
        if (plan.modifier == 4) {
            const auto rate = m.modifierRate();
            if (!rate) return;
            plan.rate = *rate;
        }
    }
    if (m.repeat.kind == 1 || m.repeat.kind == 2) {
        const auto count = m.repeatCount();
        if (!count) return;
        plan.repeat = m.repeat.kind;
        plan.count = *count;
    }
    auto made = std::make_unique<SoundEmitterObjectPane>(x, y, plan);
    made->attachTo(source);
    made->play = [this](int32_t s, int32_t v) {
        if (playSound_) playSound_(s, v);
    };
    made->chance = [this] { return uint32_t(rng_() % 32768); };
    SoundEmitterObjectPane* raw = made.get();
    if (adopt(std::move(made))) raw->Start();
}

SceneOverlayPane* MapPane::OpenScene(const net::MsgScene& m) {
    // A missing or short picture drops the message.
    auto* archives = resources::ArchiveManager::instance();
    const std::string name = base::strprintf("C%04u.MAP", unsigned(m.scene));
    if (!archives || !archives->Exists(name) || !ui::CloseList::instance()) return nullptr;
    std::optional<std::vector<MapCell>> cells;
    try {
        cells = SceneOverlayPane::ParseScene(readEntry(name));
    } catch (const app::Error&) {
    }
    if (!cells) return nullptr;
    auto pane = std::make_unique<SceneOverlayPane>(std::move(*cells), m.character, m.direction,
                                                   m.column, m.row);
    auto& scene = static_cast<SceneOverlayPane&>(ui::CloseList::instance()->Keep(std::move(pane)));
    if (GetLayer()) scene.Attach(SceneOverlayPane::kPlacement, nullptr, this, GetLayer());
    scene.RegisterHandler(nullptr, this);
    return &scene;
}

void MapPane::RequestObject(uint32_t id) {
    send(net::CmdRequestObject{{id}});
}

void MapPane::dispose(std::unique_ptr<ObjectPane> object) {
    if (!object) return;
    object->retire();
    removed_.push_back(std::move(object));
}

void MapPane::RefreshStatics(const base::Rect& cells) {
    const base::Rect r = grid_.Clip(cells).intersect(store_->Area(kStaticObject));
    auto* lib = StaticObjImageLib::instance();
    for (int32_t y = r.top; y < r.bottom; ++y) {
        for (int32_t x = r.left; x < r.right; ++x) {
            const uint16_t n = grid_.cell(x, y)->object;
            ObjectPane* standing = store_->FindStaticAt(x, y);
            if (standing && (n == 0 || static_cast<StaticObjectPane*>(standing)->number() != n)) {
                unfile(standing);
                standing = nullptr;
            }
            if (n == 0 || standing) continue;
            if (lib) {
                base::Rect rect;
                lib->GetObjectRect(n, rect);
                if (rect.empty()) continue;
            }
            std::unique_ptr<ObjectPane> s = std::make_unique<StaticObjectPane>(x, y, n);
            s->CalcBoundsOnScreen(cellPixel(x, y, ox_, oy_));
            ObjectPane* filed = store_->Add(s);
            if (!filed) continue;
            const auto* info = lib ? lib->GetObjectInfo(n) : nullptr;
            if (info && info->light >= 0) {
                std::unique_ptr<ObjectPane> light = std::make_unique<LightObjectPane>(
                    x, y, info->light, base::Point{24, 12 - 24 * info->lightHeight});
                light->attachTo(filed);
                store_->Add(light);
            }
            Invalidate(filed->GetScreenBounds());
        }
    }
}

void MapPane::LeaveWorld() {
    grid_.Store(mapsDir_);
    unfile(&user_);
    forceNextEnter_ = true;
}

}  // namespace vs::world
