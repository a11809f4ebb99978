#pragma once

// Runs facility_probe (see facility_probe.cpp) in a child process: on a pseudo-terminal of its
// own, or with standard input from a pipe, /dev/null or closed. Collects what it reports on its
// report pipe and whatever it writes to its stdout and stderr, which must stay empty.

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace probe {

enum class Input { terminal, pipe, dev_null, closed };

struct Options {
    Input input = Input::terminal;
    std::vector<std::pair<std::string, std::string>> set_env;  // besides DISPLAY etc. removed
    std::vector<std::string> unset_env;
};

struct Exit {
    bool exited = false;  // else killed by `signal`
    int status = 0;
    int signal = 0;
};

class ProbeProcess {
  public:
    // The probe is always given a pseudo-terminal as its controlling terminal and its stdout and
    // stderr; with Input::terminal it is its standard input too.
    explicit ProbeProcess(const Options& options);
    ~ProbeProcess();
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Types bytes: into the terminal (Input::terminal) or the pipe (Input::pipe).
    void type(const std::string& bytes);
    void close_input();  // Input::pipe: end of input

    // The terminal's modes now (read through the parent's own descriptor of it).
    termios terminal_modes() const;

    // Waits for a report line equal to `line`; every line read on the way is kept in lines().
    bool wait_for(const std::string& line, std::chrono::milliseconds timeout);
    const std::vector<std::string>& lines() const { return lines_; }
    // Report lines received after `index`, as one string for a message.
    std::string lines_text() const;

    std::optional<Exit> wait_exit(std::chrono::milliseconds timeout);

    // All the probe wrote to its terminal (stdout, stderr, echo) until now.
    std::string output();

  private:
    void read_reports(int timeout_ms);
    void read_output();

    pid_t pid_ = -1;
    int master_ = -1;
    int slave_ = -1;
    int input_ = -1;  // write end of the stdin pipe
    int reports_ = -1;
    std::string partial_;
    std::vector<std::string> lines_;
    std::string output_;
    std::optional<Exit> exit_;
};

// Whether two sets of terminal modes are the same in every field a program changes.
bool same_modes(const termios& a, const termios& b);

}  // namespace probe
