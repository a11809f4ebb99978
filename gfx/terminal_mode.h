#pragma once

// The terminal's modes while the console backend reads keys from it: non-canonical (bytes as
// they are typed), no echo, signals kept (Ctrl+C still interrupts). The modes found before are
// put back when the object is destroyed (at exit, through the facility's static) and also when
// SIGINT, SIGTERM, SIGHUP or SIGQUIT end the process.

#include <memory>

namespace gfx {

class TerminalMode {
  public:
    // Changes the modes of the terminal on `fd`; nullptr when fd is not a terminal of ours to
    // change (not a terminal, or we run in the background of it), which is then left alone.
    static std::unique_ptr<TerminalMode> enter(int fd);
    ~TerminalMode();
    TerminalMode(const TerminalMode&) = delete;
    TerminalMode& operator=(const TerminalMode&) = delete;

  private:
    TerminalMode() = default;
};

}  // namespace gfx
