#include "platform/controls/LockWindowUpdate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

// Holds back the locked window's repaints. Qt collects what needs painting
// and asks the window to paint it with one update request; the request is
// kept back while the lock lasts and sent again when it ends, so exactly the
// changed parts are painted once, and nothing is painted twice.
class UpdateSuspender : public QObject {
public:
    void lock(QWidget* window) {
        window_ = window;
        heldBack_ = false;
        window->installEventFilter(this);
    }

    void unlock() {
        if (!window_)
            return;
        window_->removeEventFilter(this);
        if (heldBack_)
            QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest),
                                        Qt::LowEventPriority);
        window_ = nullptr;
    }

    QWidget* window() const { return window_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::UpdateRequest)
            return false;
        heldBack_ = true;
        return true;
    }

private:
    QPointer<QWidget> window_;
    bool heldBack_ = false;
};

UpdateSuspender& suspender() {
    static UpdateSuspender instance;
    return instance;
}

} // namespace

bool LockWindowUpdate(QWidget* window) {
    if (!window)
        return false;
    if (suspender().window())
        return suspender().window() == window;
    suspender().lock(window);
    return true;
}

void UnlockWindowUpdate() {
    suspender().unlock();
}

QWidget* LockedWindow() {
    return suspender().window();
}
