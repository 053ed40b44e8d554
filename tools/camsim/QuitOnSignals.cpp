#include "tools/camsim/QuitOnSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int wakeFds[2] = {-1, -1};

bool InstallHandler(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(signal, &action, nullptr) == 0;
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent)
    : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0)
        return;
    if (!InstallHandler(SIGINT, onSignal) || !InstallHandler(SIGTERM, onSignal))
        return;
    notifier_ = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitOnSignals::quit);
}

QuitOnSignals::~QuitOnSignals() {
    InstallHandler(SIGINT, SIG_DFL);
    InstallHandler(SIGTERM, SIG_DFL);
    for (int& fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void QuitOnSignals::onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[0], &byte, 1);
}

void QuitOnSignals::quit() {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(wakeFds[1], &byte, 1);
    QCoreApplication::quit();
}
