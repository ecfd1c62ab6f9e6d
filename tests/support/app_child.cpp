#include "app_child.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "app_data.h"

int app_run_in_child(const std::function<void()>& body, unsigned timeout_seconds) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        alarm(timeout_seconds);
        int code = 0;
        try {
            body();
            code = ::testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child threw: %s\n", error.what());
            code = 2;
        } catch (...) {
            code = 2;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        // Skip the parent's atexit work (gtest's reports) in the child.
        _exit(code);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(app_scratch_root(child), ignored);
    return status;
}

std::string app_child_problem(int wait_status) {
    if (wait_status == -1) {
        return "fork failed";
    }
    if (WIFEXITED(wait_status)) {
        const int code = WEXITSTATUS(wait_status);
        if (code == 0) {
            return "";
        }
        return code == 1 ? "child reported test failures (see its output above)"
                         : "child ended with code " + std::to_string(code);
    }
    if (WIFSIGNALED(wait_status)) {
        const int signal = WTERMSIG(wait_status);
        return signal == SIGALRM ? "child ran out of time (hung?)"
                                 : "child killed by signal " + std::to_string(signal);
    }
    return "child ended oddly";
}

void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds) {
    EXPECT_EQ("", app_child_problem(app_run_in_child(body, timeout_seconds)));
}
