#pragma once

#include <QElapsedTimer>

// Lets the events that are waiting (clicks, timer ticks, socket events) run
// before the caller goes on. Long loops over files call it after each step so
// the window and the open cams stay alive.
void DoEvents();

// DoEvents for a loop of many short steps, such as the lines of a long file:
// asking for events costs microseconds, which millions of lines turn into
// minutes. Events run after the first step and then after every step that
// ends at least PauseMs after they last ran, so that timers, sockets and
// clicks are still served during the loop, a few milliseconds late at most.
class DoEventsPacer {
public:
    static constexpr int PauseMs = 10;

    void StepDone();

private:
    QElapsedTimer sinceEvents_;
};
