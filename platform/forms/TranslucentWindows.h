#pragma once
// Whether the running window system can show top-level windows with
// per-pixel alpha. Platforms that draw into memory or a bare frame buffer
// have no compositor and cannot.
bool TranslucentWindowsSupported();
