#pragma once

#include "fetch/CamAddress.h"
#include "platform/net/SocketControl.h"

#include <functional>
#include <memory>

// Where an exchange gets its connection for each request of a fetch, by the
// scheme of the address it goes to, so that a redirect from http to https
// changes to a TLS connection. No socket (a null pointer) for a scheme this
// build cannot speak: such a fetch then ends with a reason and never falls
// back to plain http. An exchange asks once per scheme and keeps the socket
// for its later fetches, so a TLS socket may resume its sessions.
using SocketMaker = std::function<std::unique_ptr<SocketControl>(CamScheme)>;

// The program's own: WinsockControl for http; nothing yet for https.
std::unique_ptr<SocketControl> MakeSocket(CamScheme scheme);
