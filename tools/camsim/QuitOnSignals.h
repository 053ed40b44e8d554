#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the application's event loop when the process gets SIGINT or SIGTERM,
// so that it shuts down through the normal path. The signal handler only
// writes to a socket pair; the quitting happens in the event loop.
class QuitOnSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

    // False when the signal handlers could not be installed.
    bool installed() const { return notifier_ != nullptr; }

private:
    static void onSignal(int signal);
    void quit();

    QSocketNotifier* notifier_ = nullptr;
};
