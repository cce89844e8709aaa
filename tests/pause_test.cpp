#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "child_process.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const std::string program_path = NAPINAVOST_EXECUTABLE;
const std::string pause_prompt = "Pokracujte stlacenim lubovolneho klavesu . . . ";

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// How the program is started on its terminal.
struct TerminalStart {
    // Started with SIGINT ignored, as a parent such as nohup may leave it.
    bool ignore_interrupt = false;
    // In a process group of its own under a session leader, as a job control
    // shell starts it, so that a stop signal really stops it.
    bool as_job = false;
};

// The program on a pseudo-terminal of its own, as its controlling terminal, so
// that a signal key would reach it as a signal if the pause let it.
struct TerminalRun {
    int master = -1;
    int slave = -1;
    pid_t pid = -1;      // the session leader, to wait for
    pid_t program = -1;  // the program, its child, to send signals to
    termios before{};

    explicit TerminalRun(TerminalStart start = {}) {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        tcgetattr(slave, &before);
        int report[2];
        if (pipe(report) != 0) return;
        pid = fork();
        if (pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            dup2(slave, STDIN_FILENO);
            dup2(slave, STDOUT_FILENO);
            dup2(slave, STDERR_FILENO);
            close(master);
            close(slave);
            close(report[0]);
            if (start.ignore_interrupt) signal(SIGINT, SIG_IGN);
            const pid_t child = fork();
            if (child == 0) {
                if (start.as_job) setpgid(0, 0);
                execl(program_path.c_str(), program_path.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            if (start.as_job) {
                setpgid(child, child);
                signal(SIGTTOU, SIG_IGN);
                tcsetpgrp(STDIN_FILENO, child);
            }
            write(report[1], &child, sizeof child);
            close(report[1]);
            // The session leader's exit status tells how the program ended.
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        }
        close(report[1]);
        if (read(report[0], &program, sizeof program) != sizeof program) program = -1;
        close(report[0]);
    }
    ~TerminalRun() {
        if (program > 0 && pid > 0) kill(program, SIGKILL);
        if (pid > 0) wait_for_exit(pid, 1ms);
        close_fd(master);
        close_fd(slave);
    }

    bool still_running() const { return waitpid(pid, nullptr, WNOHANG) == 0; }

    // Whether the program stands stopped, as /proc tells it.
    bool stopped() const {
        std::FILE* stat = std::fopen(("/proc/" + std::to_string(program) + "/stat").c_str(), "r");
        if (!stat) return false;
        char state = 0;
        const bool read = std::fscanf(stat, "%*d (%*[^)]) %c", &state) == 1;
        std::fclose(stat);
        return read && state == 'T';
    }

    termios settings() const {
        termios now{};
        tcgetattr(slave, &now);
        return now;
    }

    // Input the program left unread on the terminal, partial lines included.
    std::string leftover_input() const {
        termios raw = settings();
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        tcsetattr(slave, TCSANOW, &raw);
        char rest[64];
        const ssize_t got = read(slave, rest, sizeof rest);
        return got > 0 ? std::string(rest, static_cast<std::size_t>(got)) : std::string();
    }
};

// Waits until `done` holds or the time is up; returns whether it held.
template <typename Condition>
bool eventually(Condition done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

bool in_pause_mode(const termios& settings) {
    return (settings.c_lflag & (ICANON | ECHO | ISIG)) == 0;
}

struct KeyCase {
    std::string name;
    std::string typed;  // typed before the pause, in one go
    std::string key;
};

TEST(Pause, WaitsForOneKeyAndRestoresTheTerminal) {
    const KeyCase cases[] = {
        {"letter after a zero count", "0\n", "x"},
        {"enter after a match", "2\n0 1\n", "\r"},
        {"ctrl-c", "0\n", "\x03"},
        {"ctrl-backslash", "0\n", "\x1c"},
        {"ctrl-z", "0\n", "\x1a"},
        {"arrow key", "0\n", "\x1b[A"},
        {"type-ahead is not a key", "0\nzz", "y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRun run;
        ASSERT_GT(run.program, 0);
        write_to(run.master, c.typed);
        std::string screen;
        ASSERT_TRUE(read_until(run.master, screen, pause_prompt, 10s)) << screen;
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(run.still_running());

        write_to(run.master, c.key);
        EXPECT_EQ(wait_for_exit(run.pid, 10s), 0);
        run.pid = -1;
        EXPECT_TRUE(read_until(run.master, screen, "\r\n", 1s)) << screen;
        EXPECT_TRUE(same_settings(run.settings(), run.before));
        EXPECT_EQ(run.leftover_input(), "");
    }
}

TEST(Pause, FollowsTheZeroCountAnswerOnItsLine) {
    TerminalRun run;
    ASSERT_GT(run.program, 0);
    write_to(run.master, "0\n");
    std::string screen;
    EXPECT_TRUE(read_until(run.master, screen, "Index napinavosti: 0" + pause_prompt, 10s))
        << screen;
    write_to(run.master, "k");
    EXPECT_EQ(wait_for_exit(run.pid, 10s), 0);
    run.pid = -1;
}

// The exit status of the session leader tells which signal ended the program.
TEST(Pause, TerminationDuringThePauseRestoresTheTerminal) {
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal_number));
        TerminalRun run;
        ASSERT_GT(run.program, 0);
        write_to(run.master, "0\n");
        std::string screen;
        ASSERT_TRUE(read_until(run.master, screen, pause_prompt, 10s)) << screen;
        kill(run.program, signal_number);
        EXPECT_EQ(wait_for_exit(run.pid, 10s), 128 + signal_number);
        run.pid = -1;
        EXPECT_TRUE(same_settings(run.settings(), run.before));
    }
}

TEST(Pause, ASignalIgnoredAtTheStartStaysIgnored) {
    TerminalRun run({.ignore_interrupt = true});
    ASSERT_GT(run.program, 0);
    write_to(run.master, "0\n");
    std::string screen;
    ASSERT_TRUE(read_until(run.master, screen, pause_prompt, 10s)) << screen;
    kill(run.program, SIGINT);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(run.still_running());
    EXPECT_TRUE(in_pause_mode(run.settings()));
    write_to(run.master, "k");
    EXPECT_EQ(wait_for_exit(run.pid, 10s), 0);
    run.pid = -1;
    EXPECT_TRUE(same_settings(run.settings(), run.before));
}

// Stopped from outside, the program leaves the terminal as it found it; once
// continued it takes the pause's mode again and one key ends the pause.
TEST(Pause, StopAndContinueDuringThePause) {
    TerminalRun run({.as_job = true});
    ASSERT_GT(run.program, 0);
    write_to(run.master, "0\n");
    std::string screen;
    ASSERT_TRUE(read_until(run.master, screen, pause_prompt, 10s)) << screen;
    ASSERT_TRUE(eventually([&] { return in_pause_mode(run.settings()); }, 5s));

    kill(run.program, SIGTSTP);
    ASSERT_TRUE(eventually([&] { return run.stopped(); }, 5s));
    EXPECT_TRUE(same_settings(run.settings(), run.before));

    kill(run.program, SIGCONT);
    ASSERT_TRUE(eventually([&] { return in_pause_mode(run.settings()); }, 5s));
    EXPECT_FALSE(run.stopped());
    EXPECT_TRUE(run.still_running());
    write_to(run.master, "k");
    EXPECT_EQ(wait_for_exit(run.pid, 10s), 0);
    run.pid = -1;
    EXPECT_TRUE(same_settings(run.settings(), run.before));
    EXPECT_EQ(run.leftover_input(), "");
}

}  // namespace
}  // namespace napinavost::testing
