// The console backend: with no window, keys come from standard input. A terminal is put in
// non-canonical no-echo mode for the run (see terminal_mode.h); a pipe or file is read as it is.
// A thread of its own waits on the input and turns its bytes into key codes and held keys.

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <thread>
#include <vector>

#include "gfx/backend.h"
#include "gfx/terminal_keys.h"
#include "gfx/terminal_mode.h"

namespace gfx {
namespace {

// A terminal reports presses and auto-repeats but never releases, so a key counts as held for
// this long after its last press or repeat. Auto-repeat runs at 25-33 a second on common
// settings (30-40 ms apart); 100 ms spans two or three repeats, so a held key stays held
// through the jitter of a slow connection, while a single tap reads held for about the time a
// finger is on the key (5 frames of the animation). Between the first press and the first
// repeat (the repeat delay, 250-660 ms) the key does read released for a while: nothing in the
// byte stream tells a held key from a tapped one until the repeats start.
constexpr std::int64_t hold_ms = 100;

// How soon to try again when the program holds the screen lock.
constexpr std::int64_t retry_ms = 10;

std::int64_t now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}

class ConsoleBackend final : public Backend {
  public:
    explicit ConsoleBackend(Screen& screen) : screen_(screen) {}

    ~ConsoleBackend() override {
        if (thread_.joinable()) {
            const char stop = 0;
            while (write(wake_write_, &stop, 1) < 0 && errno == EINTR) {
            }
            thread_.join();
        }
        if (wake_read_ >= 0) ::close(wake_read_);
        if (wake_write_ >= 0) ::close(wake_write_);
        terminal_.reset();  // the terminal's modes back, after the last read
    }

    void start() {
        // Asked before making the pipe: with standard input closed, the pipe would become fd 0.
        const bool stdin_open = fcntl(STDIN_FILENO, F_GETFD) != -1;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;  // no way to stop a thread: deliver no keys
        wake_read_ = fds[0];
        wake_write_ = fds[1];
        // Before the thread starts reading, so that nothing typed from now on is echoed.
        if (stdin_open) terminal_ = TerminalMode::enter(STDIN_FILENO);
        // A terminal we could not set up is one we run in the background of: reading it would
        // stop the process (SIGTTIN).
        const bool readable = stdin_open && (terminal_ != nullptr || !isatty(STDIN_FILENO));
        thread_ = std::thread([this, readable] { run(readable); });
    }

  private:
    void run(bool reading) {
        std::vector<TerminalKey> keys;
        for (;;) {
            std::array<pollfd, 2> fds{};
            fds[0] = {wake_read_, POLLIN, 0};
            fds[1] = {STDIN_FILENO, POLLIN, 0};
            const nfds_t count = reading ? 2 : 1;
            const int ready = poll(fds.data(), count, timeout_ms(now_ms()));
            if (ready < 0 && errno != EINTR) return;
            if (ready > 0 && fds[0].revents != 0) return;  // asked to stop
            const std::int64_t now = now_ms();
            keys.clear();
            if (reading && ready > 0 && fds[1].revents != 0) reading = read_input(now, keys);
            if (reading)
                expire_terminal_input(parser_, now, keys);
            else
                finish_terminal_input(parser_, keys);
            for (const TerminalKey& key : keys)
                take(key, now);
            publish(now);
        }
    }

    // Reads what is there; false once the input has ended (or failed, or was never open).
    bool read_input(std::int64_t now, std::vector<TerminalKey>& keys) {
        std::array<unsigned char, 256> buffer{};
        const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0) return errno == EINTR || errno == EAGAIN;
        if (got == 0) return false;
        feed_terminal_bytes(parser_, std::span(buffer.data(), static_cast<std::size_t>(got)), now,
                            keys);
        return true;
    }

    void take(const TerminalKey& key, std::int64_t now) {
        if (!key.code.empty()) push_key_code(pending_, key.code);
        if (key.scancode > 0 && key.scancode < scancode_count)
            pressed_at_[static_cast<std::size_t>(key.scancode)] = now;
    }

    // Hands queued codes and the held table to the program, if the lock is free right now.
    void publish(std::int64_t now) {
        auto guard = try_lock_for_backend(screen_);
        published_ = guard.owns_lock();
        if (!published_) return;
        while (pending_.count > 0)
            push_key_code(screen_.keys, pop_key_code(pending_));
        for (std::size_t i = 0; i < screen_.held.size(); ++i)
            screen_.held[i] = pressed_at_[i] >= 0 && now < pressed_at_[i] + hold_ms;
    }

    // How long poll may wait: until a held key lapses, a lone Escape is due, or a retry.
    int timeout_ms(std::int64_t now) const {
        std::int64_t wake = -1;
        const auto sooner = [&wake](std::int64_t t) {
            if (t >= 0 && (wake < 0 || t < wake)) wake = t;
        };
        sooner(terminal_input_deadline(parser_));
        if (!published_) sooner(now + retry_ms);
        for (const std::int64_t pressed : pressed_at_) {
            if (pressed >= 0 && now < pressed + hold_ms) sooner(pressed + hold_ms);
        }
        if (wake < 0) return -1;
        return static_cast<int>(std::clamp<std::int64_t>(wake - now, 0, 1000));
    }

    Screen& screen_;
    std::thread thread_;
    int wake_read_ = -1;
    int wake_write_ = -1;
    std::unique_ptr<TerminalMode> terminal_;
    TerminalKeyParser parser_;
    KeyQueue pending_;
    std::array<std::int64_t, scancode_count> pressed_at_ = make_unpressed();
    bool published_ = true;

    static std::array<std::int64_t, scancode_count> make_unpressed() {
        std::array<std::int64_t, scancode_count> times{};
        times.fill(-1);
        return times;
    }
};

}  // namespace

std::unique_ptr<Backend> start_console_backend(Screen& screen) {
    auto backend = std::make_unique<ConsoleBackend>(screen);
    backend->start();
    return backend;
}

}  // namespace gfx
