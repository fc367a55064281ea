#pragma once
// The program keeps one GUI thread and keeps its windows alive inside long
// work by pumping messages itself (run loop, delays, device reads).

// Handles pending window events when an application exists; nothing otherwise.
void PumpMessages();

// Waits `ms` milliseconds in steps of one millisecond, pumping messages after
// each step.
void PumpingSleep(int ms);

// Waits until window events have come and handles them: for waits that
// only the user ends. Without an application it sleeps one millisecond.
void WaitForMessages();
