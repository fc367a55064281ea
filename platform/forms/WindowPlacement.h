#pragma once
// Whether the program can place its own top-level windows on the screen.
// Some window systems keep that to themselves (a Wayland compositor places
// every window and tells nobody where): there a window is moved or sized
// only by the window system's own drag.
bool TopLevelPlacementSupported();
