#pragma once
// The main window's editor options, module defaults and chip document:
// Options > Editor and Edit > Parameters open the editor parameters dialog;
// a Ctrl + left click on the module parameter panel or on the chip strip
// above the dumps stores the parameter values as the module's defaults; a
// right click on the chip label shows the picture or opens the document the
// module names (MainPicture.cpp).
class TMainForm;

// Binds the commands and watches the clicks; called once by the window.
void InstallMainOptions(TMainForm& form);
