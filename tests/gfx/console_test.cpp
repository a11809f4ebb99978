// The console fallback, end to end: facility_probe runs with no display, on a pseudo-terminal
// or with standard input from a pipe, /dev/null or nothing; keys typed reach it as codes and
// held keys, it prints nothing, and the terminal gets its modes back however it ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

#include "tests/gfx/probe_process.h"

namespace {

using namespace std::chrono_literals;
using probe::Input;
using probe::ProbeProcess;

constexpr auto patience = 10s;  // generous: CI machines are shared and ASan is slow

// Starts the probe and waits until its screen attempt is over and keys are being read.
void expect_ready(ProbeProcess& p) {
    ASSERT_TRUE(p.started());
    ASSERT_TRUE(p.wait_for("ready 0", patience)) << p.lines_text() << " output: " << p.output();
}

void expect_raw(const termios& modes) {
    EXPECT_EQ(modes.c_lflag & ICANON, 0u) << "still canonical";
    EXPECT_EQ(modes.c_lflag & ECHO, 0u) << "still echoing";
    EXPECT_NE(modes.c_lflag & ISIG, 0u) << "Ctrl+C would no longer interrupt";
}

void expect_exit_code(ProbeProcess& p, int code) {
    const auto exit = p.wait_exit(patience);
    ASSERT_TRUE(exit.has_value()) << "still running; reports: " << p.lines_text();
    EXPECT_TRUE(exit->exited) << "killed by signal " << exit->signal;
    EXPECT_EQ(exit->status, code);
}

TEST(ConsoleKeys, TypedKeysBecomeCodesAndEscapeEndsTheRun) {
    ProbeProcess p({});
    const termios before = p.terminal_modes();
    expect_ready(p);
    expect_raw(p.terminal_modes());

    struct Typed {
        std::string bytes;
        std::string report;
    };
    const Typed typed[] = {
        {"\x1b[A", "key FF 48"},    {"\x1bOB", "key FF 50"},   {"\x1b[D", "key FF 4B"},
        {"\x1b[1;5C", "key FF 4D"}, {"\x1b[1~", "key FF 47"},  {"\x1b[5~", "key FF 49"},
        {"\x1b[15~", "key FF 3F"},  {"\x1b[24~", "key FF 86"}, {"\r", "key 0D"},
        {"\n", "key 0D"},           {"\x7f", "key 08"},        {"a", "key 61"},
        {"\xC3\xA9", "key E9"},
    };
    for (const Typed& t : typed) {
        p.type(t.bytes);
        EXPECT_TRUE(p.wait_for(t.report, patience)) << t.report << "; got " << p.lines_text();
    }
    p.type("\x1b");  // alone: counts once no byte follows in time
    EXPECT_TRUE(p.wait_for("key 1B", patience)) << p.lines_text();
    EXPECT_TRUE(p.wait_for("bye", patience)) << p.lines_text();
    expect_exit_code(p, 0);
    EXPECT_TRUE(probe::same_modes(p.terminal_modes(), before));
    EXPECT_EQ(p.output(), "");
}

TEST(ConsoleKeys, AnArrowIsHeldWhileItsRepeatsKeepComing) {
    ProbeProcess p({});
    expect_ready(p);
    p.type("\x1b[C");
    ASSERT_TRUE(p.wait_for("down 77", patience)) << p.lines_text();
    // Repeats 30 ms apart, as a terminal's auto-repeat sends them: never released between.
    for (int i = 0; i < 10; ++i) {
        p.type("\x1b[C");
        std::this_thread::sleep_for(30ms);
    }
    p.type("\x1b[D");  // a marker: by the time Left is reported, Right must still be down
    ASSERT_TRUE(p.wait_for("down 75", patience)) << p.lines_text();
    for (const auto& line : p.lines())
        EXPECT_NE(line, "up 77") << "released between repeats";
    // No more repeats: released after the hold time.
    EXPECT_TRUE(p.wait_for("up 77", patience)) << p.lines_text();
    EXPECT_TRUE(p.wait_for("up 75", patience)) << p.lines_text();
    p.type("\x1b");
    expect_exit_code(p, 0);
}

struct EndCase {
    const char* name;
    int signal;         // sent with kill(); 0 for the other ways
    std::string typed;  // typed into the terminal instead
    bool exits;         // ends with exit status 0, else by the signal
};

class ConsoleEnds : public ::testing::TestWithParam<EndCase> {};

TEST_P(ConsoleEnds, TheTerminalGetsItsModesBack) {
    const EndCase& c = GetParam();
    ProbeProcess p({Input::terminal, {{"PROBE_EXIT_KEY", "x"}}, {}});
    const termios before = p.terminal_modes();
    expect_ready(p);
    expect_raw(p.terminal_modes());
    if (c.signal != 0)
        kill(p.pid(), c.signal);
    else
        p.type(c.typed);
    const auto exit = p.wait_exit(patience);
    ASSERT_TRUE(exit.has_value()) << "still running";
    if (c.exits) {
        EXPECT_TRUE(exit->exited) << "killed by signal " << exit->signal;
        EXPECT_EQ(exit->status, 0);
    } else {
        EXPECT_FALSE(exit->exited);
        EXPECT_EQ(exit->signal, c.signal == 0 ? SIGINT : c.signal);
    }
    const termios after = p.terminal_modes();
    EXPECT_TRUE(probe::same_modes(after, before))
        << "lflag before " << std::hex << before.c_lflag << " after " << after.c_lflag;
    EXPECT_EQ(p.output(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ConsoleEnds,
    ::testing::Values(EndCase{"return_from_main", 0, "\x1b", true},
                      EndCase{"exit_call", 0, "x", true}, EndCase{"ctrl_c_typed", 0, "\x03", false},
                      EndCase{"sigint", SIGINT, "", false}, EndCase{"sigterm", SIGTERM, "", false},
                      EndCase{"sighup", SIGHUP, "", false}, EndCase{"sigquit", SIGQUIT, "", false}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(ConsolePipe, DeliversCodesWithoutTouchingTheTerminal) {
    ProbeProcess p({Input::pipe, {}, {}});
    const termios before = p.terminal_modes();
    expect_ready(p);
    EXPECT_TRUE(probe::same_modes(p.terminal_modes(), before));
    p.type("\x1b[Bq");
    EXPECT_TRUE(p.wait_for("key FF 50", patience)) << p.lines_text();
    EXPECT_TRUE(p.wait_for("key 71", patience)) << p.lines_text();
    EXPECT_TRUE(probe::same_modes(p.terminal_modes(), before));
    // An Escape that is the last byte of the input needs no timeout.
    p.type("\x1b");
    p.close_input();
    EXPECT_TRUE(p.wait_for("key 1B", patience)) << p.lines_text();
    expect_exit_code(p, 0);
    EXPECT_EQ(p.output(), "");
}

// utime + stime of a process, in clock ticks.
long cpu_ticks(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* stat = std::fopen(path.c_str(), "r");
    if (stat == nullptr) return -1;
    char buffer[1024] = {};
    const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, stat);
    std::fclose(stat);
    const std::string text(buffer, got);
    const std::size_t after_name = text.rfind(')');
    if (after_name == std::string::npos) return -1;
    std::istringstream fields(text.substr(after_name + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

struct NoInputCase {
    const char* name;
    Input input;
};

class ConsoleWithoutInput : public ::testing::TestWithParam<NoInputCase> {};

// With nothing to read, the reader must wait, not spin: a spinning thread would use a whole
// second of CPU in this second; the probe's own 2 ms polling uses a few hundredths.
TEST_P(ConsoleWithoutInput, RunsOnWithoutKeysOrSpinning) {
    ProbeProcess p({GetParam().input, {}, {}});
    const termios before = p.terminal_modes();
    expect_ready(p);
    const long start = cpu_ticks(p.pid());
    std::this_thread::sleep_for(1s);
    const long used = cpu_ticks(p.pid()) - start;
    EXPECT_LT(used, sysconf(_SC_CLK_TCK) / 2) << "ticks of CPU in 1 s";
    EXPECT_FALSE(p.wait_exit(0ms).has_value()) << "ended by itself";
    EXPECT_TRUE(probe::same_modes(p.terminal_modes(), before));
    kill(p.pid(), SIGTERM);
    const auto exit = p.wait_exit(patience);
    ASSERT_TRUE(exit.has_value());
    EXPECT_EQ(exit->signal, SIGTERM);
    EXPECT_EQ(p.output(), "");
    for (const auto& line : p.lines())
        EXPECT_EQ(line.rfind("key", 0), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Inputs, ConsoleWithoutInput,
                         ::testing::Values(NoInputCase{"dev_null", Input::dev_null},
                                           NoInputCase{"closed", Input::closed}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

struct DisplayCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> env;
};

class NoScreen : public ::testing::TestWithParam<DisplayCase> {};

// No window can open: the probe says so, stays silent (no SDL or libwayland warning) and reads
// the terminal.
TEST_P(NoScreen, FallsBackToTheTerminalSilently) {
    ProbeProcess p({Input::terminal, GetParam().env, {"XDG_RUNTIME_DIR"}});
    expect_ready(p);
    expect_raw(p.terminal_modes());
    p.type("\x1b[A");
    EXPECT_TRUE(p.wait_for("key FF 48", patience)) << p.lines_text();
    p.type("\x1b");
    expect_exit_code(p, 0);
    EXPECT_EQ(p.output(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Displays, NoScreen,
    ::testing::Values(
        DisplayCase{"no_display", {}}, DisplayCase{"dead_x_server", {{"DISPLAY", ":64999"}}},
        DisplayCase{"empty_display", {{"DISPLAY", ""}}},
        DisplayCase{"dead_wayland",
                    {{"WAYLAND_DISPLAY", "no-such-wayland"}, {"XDG_RUNTIME_DIR", "/tmp"}}},
        DisplayCase{"wayland_without_runtime_dir", {{"WAYLAND_DISPLAY", "wayland-0"}}},
        DisplayCase{"dead_wayland_and_dead_x",
                    {{"WAYLAND_DISPLAY", "/tmp/none"}, {"DISPLAY", ":64999"}}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
