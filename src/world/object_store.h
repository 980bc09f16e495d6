#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "base/rect.h"
#include "world/object_pane.h"

namespace vs::world {

// The world objects of one map around the view: row buckets for effects, characters and static
// objects, lists for the rest. The store owns what it files, except the player, who is filed
// but never owned. Removed objects are handed back; nothing is destroyed while it is filed.
class ObjectStore {
  public:
    static constexpr int32_t kMargin = 2;
    static constexpr int32_t kStaticRowsBelow = 10;

    explicit ObjectStore(int32_t originX = 0, int32_t originY = 0, int32_t columns = 17,
                         int32_t rows = 15);
    ~ObjectStore();
    ObjectStore(const ObjectStore&) = delete;
    ObjectStore& operator=(const ObjectStore&) = delete;

    // The area objects of a type may stand in (half-open).
    base::Rect Area(ObjectType type) const;
    bool InArea(ObjectType type, int32_t x, int32_t y) const {
        return Area(type).contains(base::Point{x, y});
    }
    int32_t originX() const { return ox_; }
    int32_t originY() const { return oy_; }

    // Files the object; an object outside the area is refused and stays with the caller.
    ObjectPane* Add(std::unique_ptr<ObjectPane>& object);
    // Files an object the store does not own (the player).
    bool File(ObjectPane* object);
    // Unfiles; the owned object is handed back (null for the player).
    std::unique_ptr<ObjectPane> Remove(ObjectPane* object);
    bool Holds(const ObjectPane* object) const;
    // Refiles after the object's cell changed from `from`; false (and unfiled, `dropped` set to
    // the owned object) when the new cell lies outside the area.
    bool MoveObject(ObjectPane* object, base::Point from, std::unique_ptr<ObjectPane>& dropped);

    // Objects made by the client (id 0) are never found by id.
    ObjectPane* FindById(uint32_t id) const;
    ObjectPane* FindStaticAt(int32_t x, int32_t y) const;
    CharacterObjectPane* FindCharacterAt(int32_t x, int32_t y) const;
    // Everything filed that hangs on `owner`.
    std::vector<ObjectPane*> AttachedTo(const ObjectPane* owner) const;

    // A new origin: objects leaving the area are handed out in `dropped`.
    void SetOrigin(int32_t x, int32_t y, std::vector<std::unique_ptr<ObjectPane>>& dropped);
    // By one cell; the remaining objects' screen bounds move by (−24·dx, −24·dy).
    void Scroll(int32_t dx, int32_t dy, std::vector<std::unique_ptr<ObjectPane>>& dropped);
    // Everything but the kept object leaves.
    void KeepOnClear(ObjectPane* object) { keep_ = object; }
    void Clear(std::vector<std::unique_ptr<ObjectPane>>& dropped);

    // Drawing order: a row bucket of a bucketed type, or a list.
    const std::vector<ObjectPane*>& Row(ObjectType type, int32_t y) const;
    const std::vector<ObjectPane*>& List(ObjectType type) const;
    size_t Count() const;
    template <class F>
    void ForEach(F&& f) const {
        for (int t = 0; t < kTypes; ++t) {
            if (bucketed(ObjectType(t))) {
                for (const auto& row : rows_[size_t(t)])
                    for (ObjectPane* o : row) f(o);
            } else {
                for (ObjectPane* o : lists_[size_t(t)]) f(o);
            }
        }
    }

  private:
    static constexpr int kTypes = 11;
    static bool bucketed(ObjectType t) {
        return t == kBackEffectObject || t == kCharacterObject || t == kFrontEffectObject ||
               t == kStaticObject;
    }
    static bool sorted(ObjectType t) { return t == kItemObject || t == kSoundEmitterObject; }
    void insert(ObjectPane* o);
    void unfile(ObjectPane* o);
    void rebuild(std::vector<std::unique_ptr<ObjectPane>>& dropped);

    int32_t ox_, oy_, columns_, rows_n_;
    std::array<std::vector<std::vector<ObjectPane*>>, kTypes> rows_;
    std::array<std::vector<ObjectPane*>, kTypes> lists_;
    std::unordered_map<const ObjectPane*, std::unique_ptr<ObjectPane>> owned_;
    ObjectPane* keep_ = nullptr;
    std::vector<ObjectPane*> none_;
};

}  // namespace vs::world
