#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/lobject.h"

namespace vs::ui {

// Subscriptions to notices named by four-character codes, kept sorted by sender. A receiver
// that goes away must leave the bus (panes do so in their base destructor).
class NoticeBus {
  public:
    NoticeBus() { instance_ = this; }
    ~NoticeBus() {
        if (instance_ == this) instance_ = nullptr;
    }
    NoticeBus(const NoticeBus&) = delete;
    NoticeBus& operator=(const NoticeBus&) = delete;
    static NoticeBus* instance() { return instance_; }

    // `all`: every notice of the sender, whatever its code.
    void Subscribe(base::LObject* sender, base::LObject* receiver, uint32_t code, bool all = false);
    // Receiver null matches every receiver; an entry goes when `all` is set or its code matches.
    void Unsubscribe(base::LObject* sender, base::LObject* receiver, uint32_t code,
                     bool all = false);
    // Tells every receiver subscribed to the sender for this code or for all notices, in list
    // order. Receivers may subscribe and unsubscribe meanwhile: one that left is not called, one
    // that joined hears the next broadcast.
    void Broadcast(base::LObject* sender, uint32_t code);
    // Every subscription naming the object as sender or receiver.
    void RemoveAll(const base::LObject* object);
    size_t Count() const { return subs_.size(); }

  private:
    struct Subscription {
        base::LObject* sender;
        base::LObject* receiver;
        bool all;
        uint32_t code;
        uint64_t id;
    };
    bool live(uint64_t id) const;
    static inline NoticeBus* instance_ = nullptr;
    std::vector<Subscription> subs_;
    uint64_t nextId_ = 1;
};

}  // namespace vs::ui
