#pragma once
// The steps of start-up and shutdown that need no window. The program body
// (app/forms/MainProgram.h) calls them in its order.
#include <string>
#include <vector>

// Language: an empty Language setting takes the system locale's; then the tables
// are filled for it (the built-in English messages, or the language file).
void StartLanguage();

// The programmer link's transport as the settings say: the pipe files of
// the [USB] PipeFolder setting, or the virtual programmer in this process.
void StartLink();

// Shutdown of what the program opened: the serial port is closed, the
// programmer's supply switched off when the link is open, the link closed
// and the host machine freed.
void StopLink();

// The dump named on the command line: the first argument when it names an
// existing file (a Windows-style or native path), else "".
std::string CommandLineDump(const std::vector<std::string>& arguments);

