// The game's one window and the instance it was started with, kept for the calls that need them
// (the sound device's cooperative level).
#pragma once
#include "platform/window.h"

// Null until the window is created.
extern platform::WindowHandle main_window;
// The instance handle WinMain was given.
extern void* app_instance;
