#include "app_game.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        alarm(timeout_seconds);
        body();
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);  // skips the parent's atexit work
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
        ADD_FAILURE() << (WTERMSIG(status) == SIGALRM ? "child ran out of time (hung?)"
                                                      : "child killed by a signal");
    } else {
        EXPECT_EQ(0, WEXITSTATUS(status)) << "child failed: see its output above";
    }
}

void app_start_platform(const std::string& data_dir, uint32_t millis) {
    platform::headless::reset();
    platform::headless::set_data_dirs({data_dir});
    platform::headless::set_system_millis(millis);
}
