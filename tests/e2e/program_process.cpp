#include "tests/e2e/program_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {
namespace {

std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> child_environment(const ProgramOptions& options) {
    std::map<std::string, std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos) env[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& name : options.unset_env)
        env.erase(name);
    for (const auto& [name, value] : options.set_env)
        env[name] = value;
    std::vector<std::string> out;
    for (const auto& [name, value] : env)
        out.push_back(name + "=" + value);
    return out;
}

}  // namespace

ProgramProcess::ProgramProcess(const ProgramOptions& options) {
    std::string pattern = (std::filesystem::temp_directory_path() / "unicorn-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    output_dir_ = pattern;

    int stdin_pipe[2] = {-1, -1};
    if (options.stdin_bytes && pipe(stdin_pipe) != 0) return;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.stdin_bytes) {
        posix_spawn_file_actions_adddup2(&actions, stdin_pipe[0], 0);
        posix_spawn_file_actions_addclose(&actions, stdin_pipe[0]);
        posix_spawn_file_actions_addclose(&actions, stdin_pipe[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    const std::string out_path = (output_dir_ / "stdout").string();
    const std::string err_path = (output_dir_ / "stderr").string();
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addchdir_np(&actions, options.working_directory.c_str());

    std::vector<std::string> env_text = child_environment(options);
    std::vector<char*> env;
    for (auto& entry : env_text)
        env.push_back(entry.data());
    env.push_back(nullptr);
    std::string exe = options.executable.string();
    char* argv[] = {exe.data(), nullptr};

    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, env.data()) == 0) pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);

    if (options.stdin_bytes) {
        close(stdin_pipe[0]);
        const std::string& bytes = *options.stdin_bytes;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = write(stdin_pipe[1], bytes.data() + written, bytes.size() - written);
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        close(stdin_pipe[1]);
    }
}

ProgramProcess::~ProgramProcess() {
    if (pid_ > 0 && !exit_code_ && !signal_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!output_dir_.empty()) std::filesystem::remove_all(output_dir_, ignored);
}

bool ProgramProcess::running() {
    if (pid_ <= 0 || exit_code_ || signal_) return false;
    return !wait_for_exit(std::chrono::milliseconds(0)).has_value() && !signal_;
}

std::optional<int> ProgramProcess::wait_for_exit(std::chrono::milliseconds timeout) {
    if (exit_code_ || signal_) return exit_code_;
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            if (WIFEXITED(status)) exit_code_ = WEXITSTATUS(status);
            if (WIFSIGNALED(status)) signal_ = WTERMSIG(status);
            return exit_code_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::string ProgramProcess::stdout_text() const {
    return read_file(output_dir_ / "stdout");
}
std::string ProgramProcess::stderr_text() const {
    return read_file(output_dir_ / "stderr");
}

}  // namespace e2e
