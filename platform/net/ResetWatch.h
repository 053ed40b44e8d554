#pragma once

#include <QtGlobal>

// A second descriptor on a connected TCP socket, kept so that after the
// socket's own end is gone it can still be told whether the peer reset the
// connection or closed it in order. Qt reports both alike and closes its
// descriptor before telling anyone; the kernel knows the difference as long
// as some descriptor keeps the connection: after the peer's FIN it waits in
// CLOSE_WAIT, after its RST it is CLOSED.
class ResetWatch {
public:
    ResetWatch() = default;
    ~ResetWatch() { Forget(); }
    ResetWatch(const ResetWatch&) = delete;
    ResetWatch& operator=(const ResetWatch&) = delete;

    // Starts watching the connection of this descriptor, forgetting any other.
    void Watch(qintptr descriptor);
    void Forget();
    // True when a watched connection was reset by the peer.
    bool SawReset() const;

private:
    int watch_ = -1;
};
