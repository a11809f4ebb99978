#pragma once

// The real program started as a child process: its own working directory, environment and
// standard input, with standard output and error caught in files so a test can check that
// it printed nothing.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct ProgramOptions {
    std::filesystem::path executable;
    std::filesystem::path working_directory;
    std::map<std::string, std::string> set_env;  // added to (or replacing) the test's environment
    std::vector<std::string> unset_env;          // removed from it
    std::optional<std::string> stdin_bytes;      // written to a pipe on stdin, then closed;
                                                 // without it stdin is /dev/null
};

class ProgramProcess {
  public:
    explicit ProgramProcess(const ProgramOptions& options);
    ~ProgramProcess();  // kills the program if it is still running
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    bool running();

    // The exit code once the program has ended within `timeout`; nullopt if it is still
    // running then, or if it ended by a signal (see ended_by_signal).
    std::optional<int> wait_for_exit(std::chrono::milliseconds timeout);
    std::optional<int> ended_by_signal() const { return signal_; }

    std::string stdout_text() const;
    std::string stderr_text() const;

  private:
    pid_t pid_ = -1;
    std::optional<int> exit_code_;
    std::optional<int> signal_;
    std::filesystem::path output_dir_;
};

}  // namespace e2e
