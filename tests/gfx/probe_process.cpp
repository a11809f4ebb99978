#include "tests/gfx/probe_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Places `fd` at `target` in a child about to exec, keeping it open across the exec.
void move_to(int fd, int target) {
    if (fd == target)
        fcntl(target, F_SETFD, 0);
    else
        dup2(fd, target);
}

}  // namespace

ProbeProcess::ProbeProcess(const Options& options) {
    // A test runner started without standard descriptors (CI gives no stdin) would otherwise
    // hand out 0-2 below and the child's rearranging would overwrite them.
    for (int fd = 0; fd < 3; ++fd)
        if (fcntl(fd, F_GETFD) == -1) open("/dev/null", O_RDWR);
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    fcntl(master_, F_SETFL, O_NONBLOCK);
    int report_pipe[2], input_pipe[2] = {-1, -1};
    if (pipe2(report_pipe, O_CLOEXEC) != 0) return;
    if (options.input == Input::pipe && pipe2(input_pipe, O_CLOEXEC) != 0) return;
    // The environment is built before fork: the child of a threaded test may only call what is
    // safe after fork, which allocating is not.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        bool removed = name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "SDL_VIDEODRIVER";
        for (const auto& unset : options.unset_env)
            removed = removed || name == unset;
        for (const auto& set : options.set_env)
            removed = removed || name == set.first;
        if (!removed) environment.push_back(text);
    }
    for (const auto& [name, value] : options.set_env)
        environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const char* const argv[] = {FACILITY_PROBE, nullptr};

    pid_ = fork();
    if (pid_ == 0) {
        setsid();
        ioctl(slave_, TIOCSCTTY, 0);
        const rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);  // SIGQUIT ends it without a core file
        dup2(slave_, 1);
        dup2(slave_, 2);
        switch (options.input) {
            case Input::terminal:
                dup2(slave_, 0);
                break;
            case Input::pipe:
                dup2(input_pipe[0], 0);
                break;
            case Input::dev_null: {
                const int null = open("/dev/null", O_RDONLY);
                if (null != 0) dup2(null, 0);
                break;
            }
            case Input::closed:
                close(0);
                break;
        }
        move_to(report_pipe[1], 3);
        // Signals the test runner ignores or blocks must not carry over to the probe.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            signal(s, SIG_DFL);
        execve(FACILITY_PROBE, const_cast<char* const*>(argv), envp.data());
        _exit(127);
    }
    close(report_pipe[1]);
    reports_ = report_pipe[0];
    if (input_pipe[0] >= 0) close(input_pipe[0]);
    input_ = input_pipe[1];
}

ProbeProcess::~ProbeProcess() {
    if (pid_ > 0 && !exit_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (const int fd : {master_, slave_, input_, reports_})
        if (fd >= 0) close(fd);
}

void ProbeProcess::type(const std::string& bytes) {
    const int fd = input_ >= 0 ? input_ : master_;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno != EINTR && errno != EAGAIN) return;
        if (wrote > 0) done += static_cast<std::size_t>(wrote);
    }
}

void ProbeProcess::close_input() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

termios ProbeProcess::terminal_modes() const {
    termios modes{};
    tcgetattr(slave_, &modes);
    return modes;
}

void ProbeProcess::read_reports(int timeout_ms) {
    if (reports_ < 0) return;
    pollfd p{reports_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return;
    char buffer[512];
    const ssize_t got = read(reports_, buffer, sizeof buffer);
    if (got <= 0) {
        close(reports_);
        reports_ = -1;
        return;
    }
    partial_.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end = partial_.find('\n'); end != std::string::npos;
         end = partial_.find('\n')) {
        lines_.push_back(partial_.substr(0, end));
        partial_.erase(0, end + 1);
    }
}

bool ProbeProcess::wait_for(const std::string& line, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::size_t checked = 0;
    for (;;) {
        for (; checked < lines_.size(); ++checked)
            if (lines_[checked] == line) {
                lines_.erase(lines_.begin(), lines_.begin() + static_cast<long>(checked) + 1);
                return true;
            }
        if (reports_ < 0 || ms_left(deadline) == 0) return false;
        read_reports(std::min(ms_left(deadline), 50));
        read_output();
    }
}

std::string ProbeProcess::lines_text() const {
    std::string text;
    for (const auto& line : lines_)
        text += "[" + line + "] ";
    return text;
}

std::optional<Exit> ProbeProcess::wait_exit(std::chrono::milliseconds timeout) {
    if (exit_) return exit_;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            Exit e;
            e.exited = WIFEXITED(status);
            e.status = e.exited ? WEXITSTATUS(status) : 0;
            e.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            exit_ = e;
            while (reports_ >= 0)
                read_reports(100);
            read_output();
            return exit_;
        }
        if (ms_left(deadline) == 0) return std::nullopt;
        read_output();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ProbeProcess::read_output() {
    char buffer[512];
    for (;;) {
        const ssize_t got = read(master_, buffer, sizeof buffer);
        if (got <= 0) return;
        output_.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string ProbeProcess::output() {
    read_output();
    return output_;
}

bool same_modes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

}  // namespace probe
