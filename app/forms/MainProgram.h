#pragma once
// The program body: start-up and shutdown as callable steps, so that window
// tests run the real start-up on a program folder of their own without an
// event loop of their own. RunProgram is the whole program around them.
#include <string>
#include <vector>

class TMainForm;

// With the application, the program folder and the message box handler in
// place: the skin library, settings, language, the link's transport, the
// main window and the run window with its pin tester and compiler errors
// windows; then the dump named by the first argument. The main window is
// created but not shown.
TMainForm* StartProgram(const std::vector<std::string>& arguments);

// After the main window closed: the serial port and the link closed, the
// host machine freed, the windows deleted, the program-wide lists emptied,
// the skin library shut down.
void FinishProgram();

// The executable's body: application, program folder, message boxes,
// StartProgram, the shown main window, the message loop, FinishProgram.
int RunProgram(int argc, char** argv);
