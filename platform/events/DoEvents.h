#pragma once

// Lets the events that are waiting (clicks, timer ticks, socket events) run
// before the caller goes on. Long loops over files call it after each step so
// the window and the open cams stay alive.
void DoEvents();
