// Diagnostic log. It starts closed and nothing opens it, so messages are dropped.
#pragma once

extern int log_handle;

// Returns 0: the log is closed and nothing is written.
int Log_Write(const char* text);
// Returns 0: the log is already closed.
int Log_Close();
