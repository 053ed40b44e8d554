#pragma once

#include "fetch/CamAddress.h"
#include "platform/net/SocketControl.h"

#include <functional>
#include <memory>

class PinnedCertificates;

// Where an exchange gets its connection for each request of a fetch, by the
// scheme of the address it goes to, so that a redirect from http to https
// changes to a TLS connection. An https request never goes out over anything
// else: without a socket for its scheme (a null pointer) the fetch ends with
// a reason. An exchange asks once per scheme and keeps the socket for its
// later fetches, so that a TLS socket resumes its sessions.
using SocketMaker = std::function<std::unique_ptr<SocketControl>(CamScheme)>;

// The program's own: WinsockControl for http, TlsSocketControl for https,
// which trusts what the system's authorities verify and, with `pins` (which
// must outlive the sockets), the certificates the user pinned.
SocketMaker ProgramSockets(const PinnedCertificates* pins);
// ProgramSockets without pins.
std::unique_ptr<SocketControl> MakeSocket(CamScheme scheme);
