// The game's entry, called by the backend's process entry.
#pragma once

// Runs the whole game and returns the process exit code. Only the instance is used.
int WinMain(void* instance, void* previous_instance, char* command_line, int show_command);
