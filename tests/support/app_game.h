// Helpers for whole runs: a child process per run and a fresh platform on a data directory.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/headless/control.h"

// Runs body in a forked child, so it starts from the globals of a fresh process (every game
// object is one instance per process), and expects it to end without a test failure. A child
// still running after timeout_seconds is killed.
void app_expect_in_child(const std::function<void()>& body, unsigned timeout_seconds = 120);

// A fresh platform that finds its data files in data_dir and seeds with millis.
void app_start_platform(const std::string& data_dir, uint32_t millis = 0);
