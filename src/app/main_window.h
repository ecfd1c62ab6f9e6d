// The game's one window, kept for the calls that need it (the sound device's cooperative level).
#pragma once
#include "platform/window.h"

// Null until the window is created.
extern platform::WindowHandle main_window;
