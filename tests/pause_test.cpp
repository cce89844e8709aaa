#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "child_process.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const std::string program = NAPINAVOST_EXECUTABLE;
const std::string pause_prompt = "Pokracujte stlacenim lubovolneho klavesu . . . ";

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// The program on a pseudo-terminal of its own, as its controlling terminal, so
// that a signal key would reach it as a signal if the pause let it.
struct TerminalRun {
    int master = -1;
    int slave = -1;
    pid_t pid = -1;
    termios before{};

    TerminalRun() {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        tcgetattr(slave, &before);
        pid = fork();
        if (pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            dup2(slave, STDIN_FILENO);
            dup2(slave, STDOUT_FILENO);
            dup2(slave, STDERR_FILENO);
            close(master);
            close(slave);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~TerminalRun() {
        if (pid > 0) wait_for_exit(pid, 1ms);
        close_fd(master);
        close_fd(slave);
    }

    bool still_running() const { return waitpid(pid, nullptr, WNOHANG) == 0; }

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
        ASSERT_GT(run.pid, 0);
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
    ASSERT_GT(run.pid, 0);
    write_to(run.master, "0\n");
    std::string screen;
    EXPECT_TRUE(read_until(run.master, screen, "Index napinavosti: 0" + pause_prompt, 10s))
        << screen;
    write_to(run.master, "k");
    EXPECT_EQ(wait_for_exit(run.pid, 10s), 0);
    run.pid = -1;
}

TEST(Pause, TerminationDuringThePauseRestoresTheTerminal) {
    for (int signal_number : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal_number));
        TerminalRun run;
        ASSERT_GT(run.pid, 0);
        write_to(run.master, "0\n");
        std::string screen;
        ASSERT_TRUE(read_until(run.master, screen, pause_prompt, 10s)) << screen;
        kill(run.pid, signal_number);
        EXPECT_EQ(wait_for_exit(run.pid, 10s), -1);
        run.pid = -1;
        EXPECT_TRUE(same_settings(run.settings(), run.before));
    }
}

}  // namespace
}  // namespace napinavost::testing
