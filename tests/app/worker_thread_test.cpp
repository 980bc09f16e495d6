#include "app/worker_thread.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/error.h"
#include "platform/headless/headless_platform.h"

namespace vs::app {
namespace {

using namespace std::chrono_literals;

class CountingWorker : public WorkerThread {
public:
    CountingWorker(size_t capacity = 16) : WorkerThread(capacity, "counting") {}
    std::atomic<int> handled{0};
    std::atomic<int> sum{0};

protected:
    void handle(Request& r) override {
        if (r.code == 10) {
            std::this_thread::sleep_for(1ms);
            sum += r.first;
            ++handled;
        } else if (r.code == 13) {
            throw MyError(u"disk on fire");
        } else {
            WorkerThread::handle(r);
        }
    }
    int32_t handleWithReply(Request& r) override {
        if (r.code == 11) return r.first * 2;
        return WorkerThread::handleWithReply(r);
    }
};

TEST(WorkerThread, SynchroniseWaitsForEverythingPostedBefore) {
    CountingWorker w(4);  // far fewer than posted: the queue grows instead of dropping
    w.start();
    for (int i = 1; i <= 50; ++i) w.post(10, i);
    w.synchronise();
    EXPECT_EQ(w.handled, 50);
    EXPECT_EQ(w.sum, 50 * 51 / 2);
    EXPECT_EQ(WorkerThread::waitReply(w.postWithReply(11, 21)), 42);
    EXPECT_TRUE(w.stop());
}

// Waits on a pipe nobody writes to, as a connection waits on its socket.
class BlockedWorker : public WorkerThread {
public:
    BlockedWorker() : WorkerThread(8, "blocked") { EXPECT_EQ(::pipe(fds_), 0); }
    ~BlockedWorker() override {
        ::close(fds_[0]);
        ::close(fds_[1]);
    }

protected:
    void waitForWork(int) override {
        pollfd p[2] = {{fds_[0], POLLIN, 0}, {wake().fd(), POLLIN, 0}};
        ::poll(p, 2, -1);
        if (p[1].revents) wake().clear();
    }

private:
    int fds_[2];
};

TEST(WorkerThread, StopReturnsPromptlyWhileTheWorkerIsBlocked) {
    BlockedWorker w;
    w.start();
    std::this_thread::sleep_for(20ms);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(w.stop(2000));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 1s);
    EXPECT_FALSE(w.running());
}

TEST(WorkerThread, AFailingWorkerPostsItsErrorAndAnswersPendingReplies) {
    platform::HeadlessPlatform hp;
    CountingWorker w;
    // Queued before the thread runs, so the reply is still pending when the handler throws.
    w.post(13);
    auto reply = w.postWithReply(11, 5);
    w.start();
    EXPECT_EQ(reply->wait(), 0);
    // After the worker ended, a new request with a reply is answered at once.
    EXPECT_EQ(WorkerThread::waitReply(w.postWithReply(11, 5)), 0);
    EXPECT_TRUE(w.stop());
    platform::Message m;
    ASSERT_TRUE(hp.window.peek(m));
    EXPECT_EQ(m.id, platform::kMsgWorkerError);
    EXPECT_EQ(m.text, "disk on fire");
}

TEST(WorkerThread, PayloadsOfRequestsNeverHandledAreFreed) {
    // Under the sanitizers a leak here fails the run.
    WorkerThread::ReplyHandle reply;
    {
        CountingWorker w;
        WorkerThread::Request r;
        r.code = 10;
        r.data.assign(1000, 7);
        r.object = std::make_unique<base::LObject>();
        w.post(std::move(r));
        reply = w.postWithReply(11, 1);
        EXPECT_FALSE(reply->done());
    }
    // Never started: destroying the worker frees the queue and answers the reply.
    ASSERT_TRUE(reply->done());
    EXPECT_EQ(reply->wait(), 0);
}

}  // namespace
}  // namespace vs::app
