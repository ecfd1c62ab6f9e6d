// Diagnostic log. It starts closed, and only a player's request for diagnostics opens it (onto
// stderr); otherwise every message is dropped.
#pragma once

// -1 while closed; 2, stderr, while open.
extern int log_handle;

// Opens the log onto stderr when diagnostics were asked for. 1 when the log is then open.
int Log_Open();
// 1 when the text went to the log; 0 when the log is closed and nothing is written.
int Log_Write(const char* text);
// 1 when it closed the log; 0 when the log was already closed.
int Log_Close();
