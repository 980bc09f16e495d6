#include "ui/notice_bus.h"

#include <algorithm>
#include <functional>

namespace vs::ui {

namespace {
bool before(const base::LObject* a, const base::LObject* b) {
    return std::less<const base::LObject*>()(a, b);
}
}  // namespace

void NoticeBus::Subscribe(base::LObject* sender, base::LObject* receiver, uint32_t code, bool all) {
    if (!receiver) return;
    // After the sender's existing entries, so that its receivers hear it in subscription order.
    auto at = std::upper_bound(
        subs_.begin(), subs_.end(), sender,
        [](const base::LObject* s, const Subscription& e) { return before(s, e.sender); });
    subs_.insert(at, Subscription{sender, receiver, all, code, nextId_++});
}

void NoticeBus::Unsubscribe(base::LObject* sender, base::LObject* receiver, uint32_t code,
                            bool all) {
    std::erase_if(subs_, [&](const Subscription& e) {
        return e.sender == sender && (!receiver || e.receiver == receiver) &&
               (all || e.code == code);
    });
}

void NoticeBus::RemoveAll(const base::LObject* object) {
    std::erase_if(subs_, [object](const Subscription& e) {
        return e.sender == object || e.receiver == object;
    });
}

bool NoticeBus::live(uint64_t id) const {
    return std::any_of(subs_.begin(), subs_.end(),
                       [id](const Subscription& e) { return e.id == id; });
}

void NoticeBus::Broadcast(base::LObject* sender, uint32_t code) {
    std::vector<std::pair<uint64_t, base::LObject*>> due;
    for (const Subscription& e : subs_) {
        if (e.sender == sender && (e.all || e.code == code)) due.emplace_back(e.id, e.receiver);
    }
    for (auto& [id, receiver] : due) {
        if (live(id)) receiver->OnNotice(sender, code);
    }
}

}  // namespace vs::ui
