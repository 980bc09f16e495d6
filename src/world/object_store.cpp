#include "world/object_store.h"

#include <algorithm>

namespace vs::world {

ObjectStore::ObjectStore(int32_t originX, int32_t originY, int32_t columns, int32_t rows)
    : ox_(originX), oy_(originY), columns_(columns), rows_n_(rows) {
    for (int t = 0; t < kTypes; ++t)
        if (bucketed(ObjectType(t))) rows_[size_t(t)].resize(size_t(Area(ObjectType(t)).height()));
}

ObjectStore::~ObjectStore() = default;

base::Rect ObjectStore::Area(ObjectType type) const {
    const int32_t below = type == kStaticObject ? kStaticRowsBelow : kMargin;
    return {ox_ - kMargin, oy_ - kMargin, ox_ + columns_ + kMargin, oy_ + rows_n_ + below};
}

void ObjectStore::insert(ObjectPane* o) {
    const ObjectType t = o->type();
    auto after = [o](const ObjectPane* other) {
        return other->y() < o->y() || (other->y() == o->y() && other->x() <= o->x());
    };
    if (bucketed(t)) {
        auto& row = rows_[size_t(t)][size_t(o->y() - Area(t).top)];
        // After those with a smaller or equal column.
        auto at = std::find_if(row.begin(), row.end(),
                               [o](const ObjectPane* other) { return other->x() > o->x(); });
        row.insert(at, o);
    } else if (sorted(t)) {
        auto& list = lists_[size_t(t)];
        list.insert(std::find_if_not(list.begin(), list.end(), after), o);
    } else {
        lists_[size_t(t)].push_back(o);
    }
}

void ObjectStore::unfile(ObjectPane* o) {
    auto drop = [o](std::vector<ObjectPane*>& v) {
        const auto at = std::find(v.begin(), v.end(), o);
        if (at == v.end()) return false;
        v.erase(at);
        return true;
    };
    const ObjectType t = o->type();
    if (bucketed(t)) {
        for (auto& row : rows_[size_t(t)])
            if (drop(row)) return;
    } else {
        drop(lists_[size_t(t)]);
    }
}

ObjectPane* ObjectStore::Add(std::unique_ptr<ObjectPane>& object) {
    if (!object || object->type() >= kTypes || !InArea(object->type(), object->x(), object->y()))
        return nullptr;
    ObjectPane* o = object.get();
    insert(o);
    owned_.emplace(o, std::move(object));
    return o;
}

bool ObjectStore::File(ObjectPane* object) {
    if (!object || Holds(object) || !InArea(object->type(), object->x(), object->y())) return false;
    insert(object);
    return true;
}

bool ObjectStore::Holds(const ObjectPane* object) const {
    bool found = false;
    ForEach([&](const ObjectPane* o) { found = found || o == object; });
    return found;
}

std::unique_ptr<ObjectPane> ObjectStore::Remove(ObjectPane* object) {
    if (!object) return nullptr;
    unfile(object);
    if (keep_ == object) keep_ = nullptr;
    auto it = owned_.find(object);
    if (it == owned_.end()) return nullptr;
    auto owned = std::move(it->second);
    owned_.erase(it);
    return owned;
}

bool ObjectStore::MoveObject(ObjectPane* object, base::Point from,
                             std::unique_ptr<ObjectPane>& dropped) {
    (void)from;
    unfile(object);
    if (InArea(object->type(), object->x(), object->y())) {
        insert(object);
        return true;
    }
    dropped = Remove(object);
    return false;
}

ObjectPane* ObjectStore::FindById(uint32_t id) const {
    if (id == 0) return nullptr;
    ObjectPane* found = nullptr;
    ForEach([&](ObjectPane* o) {
        if (!found && o->id() == id) found = o;
    });
    return found;
}

ObjectPane* ObjectStore::FindStaticAt(int32_t x, int32_t y) const {
    for (ObjectPane* o : Row(kStaticObject, y))
        if (o->x() == x) return o;
    return nullptr;
}

CharacterObjectPane* ObjectStore::FindCharacterAt(int32_t x, int32_t y) const {
    for (ObjectPane* o : Row(kCharacterObject, y))
        if (o->x() == x) return static_cast<CharacterObjectPane*>(o);
    return nullptr;
}

std::vector<ObjectPane*> ObjectStore::AttachedTo(const ObjectPane* owner) const {
    std::vector<ObjectPane*> out;
    ForEach([&](ObjectPane* o) {
        if (o->attachedTo() == owner) out.push_back(o);
    });
    return out;
}

void ObjectStore::rebuild(std::vector<std::unique_ptr<ObjectPane>>& dropped) {
    std::vector<ObjectPane*> all;
    ForEach([&](ObjectPane* o) { all.push_back(o); });
    for (auto& r : rows_)
        for (auto& row : r) row.clear();
    for (auto& l : lists_) l.clear();
    for (int t = 0; t < kTypes; ++t)
        if (bucketed(ObjectType(t)))
            rows_[size_t(t)].assign(size_t(Area(ObjectType(t)).height()), {});
    for (ObjectPane* o : all) {
        if (InArea(o->type(), o->x(), o->y())) {
            insert(o);
        } else if (auto owned = Remove(o)) {
            dropped.push_back(std::move(owned));
        }
    }
    // An attachment goes with its owner.
    for (bool again = true; again;) {
        again = false;
        ForEach([&](ObjectPane* o) {
            if (again || !o->attachedTo() || Holds(o->attachedTo())) return;
            if (auto owned = Remove(o)) dropped.push_back(std::move(owned));
            again = true;
        });
    }
}

void ObjectStore::SetOrigin(int32_t x, int32_t y,
                            std::vector<std::unique_ptr<ObjectPane>>& dropped) {
    ox_ = x, oy_ = y;
    rebuild(dropped);
}

void ObjectStore::Scroll(int32_t dx, int32_t dy,
                         std::vector<std::unique_ptr<ObjectPane>>& dropped) {
    ox_ += dx, oy_ += dy;
    rebuild(dropped);
    ForEach([&](ObjectPane* o) {
        o->SetScreenBounds(o->GetScreenBounds().offset(-kCellPixels * dx, -kCellPixels * dy));
    });
}

void ObjectStore::Clear(std::vector<std::unique_ptr<ObjectPane>>& dropped) {
    std::vector<ObjectPane*> all;
    ForEach([&](ObjectPane* o) { all.push_back(o); });
    ObjectPane* keep = keep_;
    for (ObjectPane* o : all) {
        if (o == keep) continue;
        if (auto owned = Remove(o)) dropped.push_back(std::move(owned));
    }
    keep_ = keep;
}

const std::vector<ObjectPane*>& ObjectStore::Row(ObjectType type, int32_t y) const {
    if (type >= kTypes || !bucketed(type)) return none_;
    const int32_t i = y - Area(type).top;
    const auto& rows = rows_[size_t(type)];
    return i >= 0 && size_t(i) < rows.size() ? rows[size_t(i)] : none_;
}

const std::vector<ObjectPane*>& ObjectStore::List(ObjectType type) const {
    if (type >= kTypes || bucketed(type)) return none_;
    return lists_[size_t(type)];
}

size_t ObjectStore::Count() const {
    size_t n = 0;
    ForEach([&](ObjectPane*) { ++n; });
    return n;
}

}  // namespace vs::world
