#include "gfx/terminal_mode.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>

namespace gfx {
namespace {

// A signal handler can reach only globals, so the saved modes live here. Only one TerminalMode
// exists at a time (the console backend's); `active` tells the handler whether to restore.
termios saved_modes{};
int saved_fd = -1;
volatile sig_atomic_t active = 0;

constexpr std::array<int, 4> restoring_signals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::array<struct sigaction, restoring_signals.size()> previous_actions{};
std::array<bool, restoring_signals.size()> handler_installed{};

// Async-signal-safe only: tcsetattr, sigaction and raise are.
void restore_and_reraise(int signal_number) {
    if (active) tcsetattr(saved_fd, TCSANOW, &saved_modes);
    active = 0;
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    // Delivered with the default action as soon as this handler returns and unblocks it.
    raise(signal_number);
}

void install_handlers() {
    for (std::size_t i = 0; i < restoring_signals.size(); ++i) {
        struct sigaction current {};
        sigaction(restoring_signals[i], nullptr, &current);
        // An ignored signal (nohup, a background job's SIGINT) must stay ignored, and a handler
        // the program set up is its own business.
        handler_installed[i] = current.sa_handler == SIG_DFL;
        if (!handler_installed[i]) continue;
        struct sigaction action {};
        action.sa_handler = restore_and_reraise;
        sigemptyset(&action.sa_mask);
        for (const int other : restoring_signals)
            sigaddset(&action.sa_mask, other);
        sigaction(restoring_signals[i], &action, &previous_actions[i]);
    }
}

void remove_handlers() {
    for (std::size_t i = 0; i < restoring_signals.size(); ++i) {
        if (handler_installed[i]) sigaction(restoring_signals[i], &previous_actions[i], nullptr);
        handler_installed[i] = false;
    }
}

}  // namespace

std::unique_ptr<TerminalMode> TerminalMode::enter(int fd) {
    if (active || !isatty(fd)) return nullptr;
    // Changing the modes from the background would stop us (SIGTTOU); reading would too.
    if (tcgetpgrp(fd) != getpgrp()) return nullptr;
    termios modes{};
    if (tcgetattr(fd, &modes) != 0) return nullptr;
    saved_modes = modes;
    saved_fd = fd;
    modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    modes.c_lflag |= ISIG;
    modes.c_cc[VMIN] = 1;
    modes.c_cc[VTIME] = 0;
    active = 1;  // before the handlers can run
    install_handlers();
    if (tcsetattr(fd, TCSANOW, &modes) != 0) {
        remove_handlers();
        active = 0;
        return nullptr;
    }
    return std::unique_ptr<TerminalMode>(new TerminalMode);
}

TerminalMode::~TerminalMode() {
    // Block the signals while restoring, so a handler cannot run halfway through.
    sigset_t block, old;
    sigemptyset(&block);
    for (const int s : restoring_signals)
        sigaddset(&block, s);
    pthread_sigmask(SIG_BLOCK, &block, &old);
    if (active) tcsetattr(saved_fd, TCSANOW, &saved_modes);
    active = 0;
    remove_handlers();
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

}  // namespace gfx
