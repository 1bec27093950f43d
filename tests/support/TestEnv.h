#pragma once
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "RecordingUi.h"
#include "platform/UiServices.h"

namespace qs::test {

// Sets an environment variable for a scope and puts the old value back after it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Keeps the services installed now (a RecordingUi's, say) and puts `clock` under them for a
// scope.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock) : scope_(With(clock)) {}

private:
    static UiServices With(const Clock& clock) {
        UiServices s = Ui();
        s.clock = &clock;
        return s;
    }
    ScopedUiServices scope_;
};

// Keeps the services installed now (a RecordingUi's, say) and adds a fake clock that moves
// only when a wait lets the user interface run: each idle call advances it by `stepMs` and
// then runs `onIdle`. Waits measured on it end by its time, not the wall's.
class ScopedIdleClock {
public:
    explicit ScopedIdleClock(int64_t stepMs, std::function<void()> onIdle = {})
        : stepMs_(stepMs), onIdle_(std::move(onIdle)), scope_(Make()) {}

    int64_t ElapsedMs() const { return clock_.now - start_; }
    int IdleCalls() const { return idleCalls_; }
    void SetOnIdle(std::function<void()> f) { onIdle_ = std::move(f); }

private:
    UiServices Make() {
        UiServices s = Ui();
        s.clock = &clock_;
        s.idle = [this] {
            ++idleCalls_;
            clock_.now += stepMs_;
            if (onIdle_) onIdle_();
        };
        return s;
    }

    FakeClock clock_;
    const int64_t start_ = clock_.now;
    int64_t stepMs_;
    std::function<void()> onIdle_;
    int idleCalls_ = 0;
    ScopedUiServices scope_;
};

}  // namespace qs::test
