// The game's entry and its window procedure, called by the backend's process entry.
#pragma once
#include <cstdint>
#include <string>

#include "platform/window.h"

// Runs the whole game and returns the process exit code. Only the instance is used.
int WinMain(void* instance, void* previous_instance, char* command_line, int show_command);

// The main window's procedure. Keys and mouse are swallowed: the game polls its input.
intptr_t WindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wparam,
                    intptr_t lparam);

// The game's standing now, for the last line of a recording: "score=N lines=N level=N well=..."
// with the well's cell values in base 32, row by row, rows apart by '/' (the replay tool's terms).
std::string Game_Summary();
