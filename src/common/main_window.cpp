#include "common/main_window.h"

platform::WindowHandle main_window = nullptr;
void* app_instance = nullptr;
