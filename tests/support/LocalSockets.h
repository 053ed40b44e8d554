#pragma once

#include <QtGlobal>

// A local TCP port that nothing listens on at the moment of the call.
quint16 UnusedPort();

// Returns once every socket event already under way in this process has
// reached its receiver: a byte sent over a fresh local connection, which
// takes several rounds of the event loop, arrives only after them. For
// checks that something did not happen. False when the round trip failed.
bool DeliverPendingSocketEvents();
