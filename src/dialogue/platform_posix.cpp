#include <fcntl.h>
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

// The terminal as it was before the pause, and as the pause sets it, for the
// signal handlers to put back.
termios saved_terminal;
termios pause_terminal;

void restore_terminal_and_die(int signal_number) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

void take_pause_mode(int) {
    const int saved_errno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &pause_terminal);
    errno = saved_errno;
}

// A stop sent from outside (Ctrl-Z is no signal key during the pause) leaves
// the shell a terminal as it was; once continued, the pause takes its own mode
// again and waits on. The SIGCONT handler does the same after a SIGSTOP.
void restore_terminal_and_stop(int signal_number) {
    const int saved_errno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    struct sigaction stopping {
    }, default_action{};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, &stopping);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal_number);
    sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    std::raise(signal_number);
    // Here once continued, or at once where the stop was discarded (a process
    // group with no shell to continue it), and the pause waits on either way.
    sigaction(signal_number, &stopping, nullptr);
    tcsetattr(STDIN_FILENO, TCSANOW, &pause_terminal);
    errno = saved_errno;
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

// The pause's handlers, installed for as long as it lasts. A signal that was
// ignored when the pause began stays ignored, as whoever started us asked.
struct PauseSignals {
    static constexpr std::size_t count = std::size(stop_signals) + 2;
    int numbers[count];
    struct sigaction previous[count];
    bool installed[count] = {};

    PauseSignals() {
        for (std::size_t i = 0; i < std::size(stop_signals); ++i) numbers[i] = stop_signals[i];
        numbers[count - 2] = SIGTSTP;
        numbers[count - 1] = SIGCONT;
        for (std::size_t i = 0; i < count; ++i) {
            struct sigaction action {};
            action.sa_handler = numbers[i] == SIGTSTP   ? restore_terminal_and_stop
                                : numbers[i] == SIGCONT ? take_pause_mode
                                                        : restore_terminal_and_die;
            sigemptyset(&action.sa_mask);
            sigaction(numbers[i], nullptr, &previous[i]);
            if (previous[i].sa_handler == SIG_IGN) continue;
            installed[i] = sigaction(numbers[i], &action, nullptr) == 0;
        }
    }
    ~PauseSignals() {
        for (std::size_t i = 0; i < count; ++i) {
            if (installed[i]) sigaction(numbers[i], &previous[i], nullptr);
        }
    }
};

}  // namespace

void prepare_process() {
    // A standard stream that was not open gets /dev/null, so that no file
    // opened later can take its number: a closed input then reads as ended.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
}

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

    pause_terminal = saved_terminal;
    pause_terminal.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
    pause_terminal.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    pause_terminal.c_cc[VMIN] = 1;
    pause_terminal.c_cc[VTIME] = 0;

    const PauseSignals signals;
    // TCSAFLUSH drops type-ahead: only a key pressed after the prompt counts.
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &pause_terminal) == 0) {
        write_all(pause_prompt);
        wait_for_key();
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
        write_all("\n");
    }
}

}  // namespace napinavost::platform
