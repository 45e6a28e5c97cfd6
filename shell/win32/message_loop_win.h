#pragma once
// The one window procedure, the message loop and ProcessPendingEvents.
#include "shell/win32/controls_win.h"

namespace quenstrel {

// The procedure of our own window classes and of every subclassed control:
// it finds the wrapper of the window and hands it the message.
void* WindowProcedure();

// Runs until the quit request and gives its exit code. Esc closes
// `mainWindow` wherever the focus is; Tab moves through its controls.
int RunMessageLoop(const Control& mainWindow);

// Dispatches every message already waiting, treated as the loop treats them,
// and returns before a quit request, which stays for the loop.
void PumpPendingMessages(const Control& mainWindow);

// The two halves of PumpPendingMessages: whether anything waits (looking at
// the queue at most once a millisecond), and dispatching what waits.
bool MessagesWaiting();
void DispatchWaitingMessages(const Control& mainWindow);

}  // namespace quenstrel
