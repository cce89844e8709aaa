#include "child_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace napinavost::testing {

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Appends what `fd` has now; false once the stream has ended.
bool read_available(int fd, std::string& collected) {
    char chunk[4096];
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got > 0) collected.append(chunk, static_cast<std::size_t>(got));
    return got > 0 || (got < 0 && errno == EINTR);
}

}  // namespace

ChildProcess start_child(const Command& command, int closed) {
    std::vector<char*> arguments;
    for (const std::string& argument : command)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (closed >= 0) close(closed);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    ChildProcess child{pid, in[1], out[0], err[0]};
    if (closed == STDIN_FILENO) close_fd(child.input);
    if (closed == STDOUT_FILENO) close_fd(child.output);
    if (closed == STDERR_FILENO) close_fd(child.errors);
    return child;
}

void write_to(int fd, const std::string& text) {
    // The test, not the child, must survive a reader that has gone.
    signal(SIGPIPE, SIG_IGN);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

void close_fd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

bool read_until(int fd, std::string& collected, const std::string& wanted,
                std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (collected.find(wanted) == std::string::npos) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, remaining_ms(deadline)) <= 0) return false;
        if (!read_available(fd, collected)) return collected.find(wanted) != std::string::npos;
    }
    return true;
}

std::string read_rest(int fd, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::string collected;
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, remaining_ms(deadline)) <= 0) return collected;
        if (!read_available(fd, collected)) return collected;
    }
}

int wait_for_exit(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

RunResult run_program(const Command& command, const std::string& input,
                      std::chrono::milliseconds limit, const Delivery& delivery) {
    ChildProcess child = start_child(command);
    // Input larger than a pipe holds is written while the outputs are drained.
    std::thread feeder([&] {
        if (delivery.pieces.empty()) {
            write_to(child.input, input);
        } else {
            std::size_t done = 0;
            for (std::size_t i = 0; done < input.size(); ++i) {
                const std::size_t size = delivery.pieces[i % delivery.pieces.size()];
                write_to(child.input, input.substr(done, size));
                done += size;
                std::this_thread::sleep_for(delivery.gap);
            }
        }
        close_fd(child.input);
    });
    RunResult result;
    std::thread error_reader([&] { result.errors = read_rest(child.errors, limit); });
    result.output = read_rest(child.output, limit);
    error_reader.join();
    feeder.join();
    result.status = wait_for_exit(child.pid, limit);
    close_fd(child.output);
    close_fd(child.errors);
    return result;
}

}  // namespace napinavost::testing
