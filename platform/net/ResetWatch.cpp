#include "platform/net/ResetWatch.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

void ResetWatch::Watch(qintptr descriptor) {
    Forget();
    if (descriptor >= 0)
        watch_ = ::dup(int(descriptor));
}

void ResetWatch::Forget() {
    if (watch_ >= 0)
        ::close(watch_);
    watch_ = -1;
}

bool ResetWatch::SawReset() const {
    tcp_info info{};
    socklen_t size = sizeof info;
    return watch_ >= 0 && ::getsockopt(watch_, IPPROTO_TCP, TCP_INFO, &info, &size) == 0 &&
           info.tcpi_state == TCP_CLOSE;
}
