#pragma once
#include "app/worker_thread.h"

namespace vs::patch {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class PatchDownloader : public app::WorkerThread {
public:
    ~PatchDownloader() override {
        if (instance_ == this) instance_ = nullptr;
    }
    PatchDownloader(const PatchDownloader&) = delete;
    PatchDownloader& operator=(const PatchDownloader&) = delete;
    static PatchDownloader* instance() { return instance_; }
    PatchDownloader() : app::WorkerThread(100, "patch downloader") { instance_ = this; }

private:
    static inline PatchDownloader* instance_ = nullptr;
};

}  // namespace vs::patch
