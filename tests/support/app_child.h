// Runs a piece of a test in a forked child, so each whole-program run starts from the globals a
// fresh process has (every game object is one instance per process).
#pragma once
#include <functional>
#include <string>

// Forks, runs body in the child and ends the child with 0 when the body raised no test failure
// (1 otherwise, 2 when the body threw). A child still running after timeout_seconds is killed.
// Returns the child's wait status as waitpid gave it.
int app_run_in_child(const std::function<void()>& body, unsigned timeout_seconds = 120);

// "" for a child that ended with 0, otherwise what went wrong, for the failure message.
std::string app_child_problem(int wait_status);

// Runs body in a child and expects it to end cleanly.
void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds = 120);
