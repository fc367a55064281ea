#pragma once
// The program-wide state of the whole program back to where it starts: the
// engine's and the buffer library's (ResetBufferState) and the app's own
// lists, flags and captions (language list, buffer captions, chip scan and
// tree). The last step of shutdown, so that a next start (a test's) begins
// as the first did; and the reset of the app tests' state guard.
void ResetAppState();
