#include "fetch/ExchangeSockets.h"

#include "platform/net/WinsockControl.h"

std::unique_ptr<SocketControl> MakeSocket(CamScheme scheme) {
    if (scheme == CamScheme::Http)
        return std::make_unique<WinsockControl>();
    return nullptr;
}
