#pragma once
// Shows the program's message boxes as Qt message boxes.
void InstallQtMessageBoxHandler();
