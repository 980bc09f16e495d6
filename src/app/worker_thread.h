#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/lobject.h"
#include "platform/wake_event.h"

namespace vs::app {

// A thread with a request queue. The UI thread posts requests, or posts one and waits for its
// answer; the worker handles them one by one and talks back only by posting window messages.
class WorkerThread : public base::LObject {
public:
    enum : int32_t { kStop = 1, kSynchronise = 2 };

    // A request owns whatever it carries, so nothing leaks when it is never handled.
    struct Request {
        int32_t code = 0;
        int32_t first = 0;
        int32_t second = 0;
        std::vector<uint8_t> data;
        std::unique_ptr<base::LObject> object;
    };

    class Reply {
    public:
        int32_t wait();
        bool done() const;

    private:
        friend class WorkerThread;
        void complete(int32_t result);
        mutable std::mutex mutex_;
        std::condition_variable cv_;
        bool done_ = false;
        int32_t result_ = 0;
    };
    using ReplyHandle = std::shared_ptr<Reply>;

    // capacity: the queue length beyond which a warning is logged once (the queue still grows).
    WorkerThread(size_t capacity, std::string name);
    ~WorkerThread() override;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs the on-start hook, then the thread.
    void start();
    bool started() const { return thread_.joinable() || finished_; }
    bool running() const { return thread_.joinable() && !finished_; }

    void post(int32_t code, int32_t first = 0, int32_t second = 0);
    void post(Request request);
    // The reply is answered with 0 when the worker ends before handling the request, or at once
    // when it has already ended.
    ReplyHandle postWithReply(Request request);
    ReplyHandle postWithReply(int32_t code, int32_t first = 0, int32_t second = 0);
    static int32_t waitReply(const ReplyHandle& reply) { return reply->wait(); }
    // Returns when every request posted before it has been handled.
    void synchronise();

    // Asks the worker to stop, interrupts what it waits on, and joins it. False when it did not
    // end within timeoutMs: the thread then still runs and the object must be kept alive.
    bool stop(uint32_t timeoutMs = 1000);

    size_t queued() const;

protected:
    // Hooks, in the order the worker meets them.
    virtual void onStart() {}
    virtual void threadInit() {}
    virtual void requestLoop();
    virtual void threadCleanup() {}
    virtual void onWake() {}
    virtual void onIdle() {}
    virtual void handle(Request& request);
    virtual int32_t handleWithReply(Request& request);
    // Blocks until a request may be queued or the wake-up is signalled, at most timeoutMs
    // (-1: no limit). A derived worker waiting on its own descriptors too polls wake().fd().
    virtual void waitForWork(int timeoutMs);

    bool stopRequested() const { return stop_; }
    void requestStop() { stop_ = true; }
    platform::WakeEvent& wake() { return wake_; }
    // Takes the next request; false when the queue is empty.
    bool takeRequest(Request& out, ReplyHandle& reply);
    // Handles one request through handle or handleWithReply and answers its reply.
    void dispatch(Request& request, const ReplyHandle& reply);
    const std::string& name() const { return name_; }

    int waitTimeoutMs_ = -1;

private:
    struct Entry {
        Request request;
        ReplyHandle reply;
    };
    void threadMain();
    void enqueue(Entry e);
    void finish();

    std::string name_;
    size_t capacity_;
    bool warnedFull_ = false;
    mutable std::mutex mutex_;
    std::deque<Entry> queue_;
    bool exited_ = false;  // the worker left its loop; new replies are answered at once
    platform::WakeEvent wake_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::mutex finishMutex_;
    std::condition_variable finishCv_;
    std::thread thread_;
};

}  // namespace vs::app
