#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "client/application.h"
#include "mkdata/content.h"
#include "mkdata/data_set.h"
#include "platform/headless/headless_platform.h"

namespace vs::client::test {

// A headless platform, a private data directory holding the demo data, a private runtime
// directory, and a record of the application's start-up and shutdown steps. The working
// directory is restored afterwards.
class ClientFixture : public testing::Test {
  protected:
    ClientFixture() {
        char tmpl[] = "/tmp/vs-client-XXXXXX";
        root_ = mkdtemp(tmpl);
        mkdata::DataSet demo;
        mkdata::buildDemoData(demo);
        demo.write(root_ / "data");
        std::filesystem::create_directories(root_ / "run");
        oldRuntime_ = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
        setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
        cwd_ = std::filesystem::current_path();
        options.dataDir = (root_ / "data").string();
        // No test reaches for a server unless it sets one up and says so.
        options.noConnect = true;
        Application::setTrace([this](std::string_view s) {
            trace.emplace_back(s);
            if (onStep) onStep(s);
        });
    }
    ~ClientFixture() override {
        Application::setTrace(nullptr);
        std::filesystem::current_path(cwd_);
        if (oldRuntime_.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::filesystem::path dataDir() const { return root_ / "data"; }
    // Steps recorded from `from` on (or all).
    std::vector<std::string> traceFrom(const std::string& from) const {
        for (size_t i = 0; i < trace.size(); ++i)
            if (trace[i] == from) return {trace.begin() + long(i), trace.end()};
        return {};
    }
    // Runs `app`'s main loop on real time, and `alongside` after every frame (a server's step),
    // until done() or `ms` have passed; false on time-out.
    bool runUntil(Application& app, const std::function<void()>& alongside,
                  const std::function<bool()>& done, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            hp.window.wait(5);
            platform::Message m;
            while (hp.window.peek(m)) {
                app.windowProc(m);
                m = platform::Message();
            }
            app.frameStep();
            if (alongside) alongside();
        }
        return true;
    }
    bool traced(const std::string& step) const {
        for (const auto& s : trace)
            if (s == step) return true;
        return false;
    }

    platform::HeadlessPlatform hp;
    app::LaunchOptions options;
    std::vector<std::string> trace;
    // Called at every step, while the program runs.
    std::function<void(std::string_view)> onStep;

  private:
    std::filesystem::path root_, cwd_;
    std::string oldRuntime_;
};

}  // namespace vs::client::test
