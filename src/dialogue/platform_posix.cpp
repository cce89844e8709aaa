#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "dialogue/platform.hpp"

namespace napinavost::platform {

namespace {

constexpr std::string_view pause_prompt = "Pokracujte stlacenim lubovolneho klavesu . . . ";
constexpr int stop_signals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

// The terminal as it was before the pause, for a signal handler to put back.
termios saved_terminal;

void restore_terminal_and_die(int signal_number) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

void write_all(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// A key such as an arrow sends several bytes; take the ones that follow
// closely so that none of them is left for the shell.
void drain_rest_of_key() {
    pollfd terminal{STDIN_FILENO, POLLIN, 0};
    char rest[64];
    while (poll(&terminal, 1, 30) > 0) {
        if (read(STDIN_FILENO, rest, sizeof rest) <= 0) return;
    }
}

void wait_for_key() {
    char key = 0;
    ssize_t got = 0;
    do {
        got = read(STDIN_FILENO, &key, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 1) drain_rest_of_key();
}

}  // namespace

void prepare_process() { std::signal(SIGPIPE, SIG_IGN); }

std::size_t read_standard_input(void*, char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, capacity);
        if (got >= 0) return static_cast<std::size_t>(got);
        // An input that cannot be read any more is treated as ended.
        if (errno != EINTR) return 0;
    }
}

// A stand-in for the Windows PAUSE command: one key, read from the terminal
// itself with echo, line editing and signal keys off.
void pause_console(void*) {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_terminal) != 0) return;

    struct sigaction restoring {};
    restoring.sa_handler = restore_terminal_and_die;
    sigemptyset(&restoring.sa_mask);
    struct sigaction previous[std::size(stop_signals)];
    for (std::size_t i = 0; i < std::size(stop_signals); ++i) {
        sigaction(stop_signals[i], &restoring, &previous[i]);
    }

    termios raw = saved_terminal;
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // TCSAFLUSH drops type-ahead: only a key pressed after the prompt counts.
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0) {
        write_all(pause_prompt);
        wait_for_key();
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
        write_all("\n");
    }

    for (std::size_t i = 0; i < std::size(stop_signals); ++i) {
        sigaction(stop_signals[i], &previous[i], nullptr);
    }
}

}  // namespace napinavost::platform
