#include "app/worker_thread.h"

#include <chrono>

#include "app/error.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/crash_signals.h"
#include "platform/window.h"

namespace vs::app {

int32_t WorkerThread::Reply::wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return done_; });
    return result_;
}

bool WorkerThread::Reply::done() const {
    std::lock_guard lock(mutex_);
    return done_;
}

void WorkerThread::Reply::complete(int32_t result) {
    {
        std::lock_guard lock(mutex_);
        if (done_) return;
        done_ = true;
        result_ = result;
    }
    cv_.notify_all();
}

WorkerThread::WorkerThread(size_t capacity, std::string name)
    : name_(std::move(name)), capacity_(capacity) {}

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) {
        // The owner did not stop us; do it now rather than leave a thread on a dead object.
        stop_ = true;
        wake_.signal();
        thread_.join();
    }
    // Never started, or stopped with requests left: their posters must not wait for ever.
    if (!finished_) finish();
}

void WorkerThread::start() {
    if (thread_.joinable() || finished_) return;
    onStart();
    thread_ = std::thread([this] { threadMain(); });
}

void WorkerThread::enqueue(Entry e) {
    {
        std::lock_guard lock(mutex_);
        if (exited_) {
            if (e.reply) e.reply->complete(0);
            return;
        }
        queue_.push_back(std::move(e));
        if (queue_.size() > capacity_ && !warnedFull_) {
            warnedFull_ = true;
            VS_WARN("%s: request queue passed %zu entries", name_.c_str(), capacity_);
        }
    }
    wake_.signal();
}

void WorkerThread::post(int32_t code, int32_t first, int32_t second) {
    Request r;
    r.code = code;
    r.first = first;
    r.second = second;
    post(std::move(r));
}

void WorkerThread::post(Request request) { enqueue({std::move(request), nullptr}); }

WorkerThread::ReplyHandle WorkerThread::postWithReply(Request request) {
    auto reply = std::make_shared<Reply>();
    enqueue({std::move(request), reply});
    return reply;
}

WorkerThread::ReplyHandle WorkerThread::postWithReply(int32_t code, int32_t first, int32_t second) {
    Request r;
    r.code = code;
    r.first = first;
    r.second = second;
    return postWithReply(std::move(r));
}

void WorkerThread::synchronise() {
    if (!running()) return;
    waitReply(postWithReply(kSynchronise));
}

size_t WorkerThread::queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool WorkerThread::takeRequest(Request& out, ReplyHandle& reply) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front().request);
    reply = std::move(queue_.front().reply);
    queue_.pop_front();
    return true;
}

void WorkerThread::dispatch(Request& request, const ReplyHandle& reply) {
    if (reply) {
        int32_t result = 0;
        // The reply is answered even when the handler throws, so its poster never hangs.
        struct Answer {
            const ReplyHandle& r;
            int32_t& v;
            ~Answer() { r->complete(v); }
        } answer{reply, result};
        result = handleWithReply(request);
    } else {
        handle(request);
    }
}

void WorkerThread::handle(Request& request) {
    if (request.code == kStop) stop_ = true;
}

int32_t WorkerThread::handleWithReply(Request& request) {
    handle(request);
    return 0;
}

void WorkerThread::waitForWork(int timeoutMs) {
    {
        std::lock_guard lock(mutex_);
        if (!queue_.empty()) {
            wake_.clear();
            return;
        }
    }
    if (stop_) return;
    wake_.wait(timeoutMs);
}

void WorkerThread::requestLoop() {
    for (;;) {
        waitForWork(waitTimeoutMs_);
        onWake();
        Request request;
        ReplyHandle reply;
        if (takeRequest(request, reply)) {
            dispatch(request, reply);
        }
        if (stop_) return;
        onIdle();
    }
}

void WorkerThread::threadMain() {
    // A fault on this thread is reported like one on the UI thread.
    platform::CrashSignals::prepareThread();
    try {
        threadInit();
        requestLoop();
        threadCleanup();
    } catch (...) {
        CaughtError e = describeCurrentException();
        VS_ERROR("%s: %s", name_.c_str(), base::utf16ToUtf8(e.text).c_str());
        // The UI thread stores the text as the pending error and ends the program in order.
        if (auto* w = platform::Window::instance()) {
            platform::Message m(platform::kMsgWorkerError);
            m.text = base::utf16ToUtf8(e.text);
            w->post(std::move(m));
        }
    }
    finish();
}

void WorkerThread::finish() {
    std::deque<Entry> left;
    {
        std::lock_guard lock(mutex_);
        exited_ = true;
        left.swap(queue_);
    }
    for (auto& e : left) {
        if (e.reply) e.reply->complete(0);
    }
    left.clear();  // payloads freed here, on the worker
    {
        std::lock_guard lock(finishMutex_);
        finished_ = true;
    }
    finishCv_.notify_all();
}

bool WorkerThread::stop(uint32_t timeoutMs) {
    if (!thread_.joinable()) return true;
    stop_ = true;
    post(kStop);
    wake_.signal();
    {
        std::unique_lock lock(finishMutex_);
        if (!finishCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return finished_.load(); })) {
            VS_ERROR("%s: the worker did not stop within %u ms", name_.c_str(), timeoutMs);
            return false;
        }
    }
    thread_.join();
    return true;
}

}  // namespace vs::app
