#pragma once
#include "app/worker_thread.h"

namespace vs::net {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class Connection : public app::WorkerThread {
public:
    ~Connection() override {
        if (instance_ == this) instance_ = nullptr;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    static Connection* instance() { return instance_; }
    Connection() : app::WorkerThread(2048, "connection") { instance_ = this; }
    // The transport and its reading arrive with the network layer.
    void Read() {}
    void CloseTransport() {}

private:
    static inline Connection* instance_ = nullptr;
};

}  // namespace vs::net
