#include "fetch/ExchangeSockets.h"

#include "platform/net/TlsSocketControl.h"
#include "platform/net/WinsockControl.h"

SocketMaker ProgramSockets(const PinnedCertificates* pins) {
    return [pins](CamScheme scheme) -> std::unique_ptr<SocketControl> {
        if (scheme == CamScheme::Https)
            return std::make_unique<TlsSocketControl>(pins);
        return std::make_unique<WinsockControl>();
    };
}

std::unique_ptr<SocketControl> MakeSocket(CamScheme scheme) {
    return ProgramSockets(nullptr)(scheme);
}
