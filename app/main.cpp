// The program: everything it does is in the program body.
#include "app/forms/MainProgram.h"

int main(int argc, char** argv) { return RunProgram(argc, argv); }
