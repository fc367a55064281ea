#pragma once
// The settings file "TARKU.INI" in the program folder and the program-wide
// settings variables (engine/Global.h). Only the main window calls these:
// once at start-up and once when it closes. The main window's own state goes
// through MainWindowState, which the main window applies and sets itself.

// Reads every setting; a missing key, a missing file or a value that is not
// a number gives the default.
void LoadSettings();

// Writes the settings back into the file, keeping every other line of it.
// The file is replaced only when the whole new text is written; a failure
// is shown in a message box and gives false.
bool SaveSettings();
