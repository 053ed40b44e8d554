#pragma once

#include <QWidget>

#include <memory>

class PanelPool;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class SkinLabelArray;
struct FetchRecord;

// "Connection Details…" of a panel's picture: what the cam's last fetch did
// on the wire (the request as sent, its password and Authorization value
// shown as "••••"; the response's status line and header; timings, bytes
// and redirects) and when its picture last changed. It follows the cam
// while it is open, after each fetch; once the cam is stopped it says so
// and keeps what it showed. Escape, Close and the close control close it.
class ConnectionDetails : public QWidget {
    Q_OBJECT
public:
    ConnectionDetails(PanelPool& panels, int slot, QWidget* owner);
    ~ConnectionDetails() override;

    // The window of the slot's cam, brought to the front: the one open for
    // it, or a new one.
    static ConnectionDetails* ShowFor(PanelPool& panels, int slot, QWidget* owner);

    int Slot() const { return slot_; }
    bool Following() const { return following_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildRows();
    void showDetails();
    void camStopped(int slot);

    PanelPool& panels_;
    const int slot_;
    bool following_ = true;
    QLabel* lblCam;
    QLabel* lblAddress;
    QLabel* lblState;
    QLabel* lblServer;
    QPlainTextEdit* txtRequest;
    QPlainTextEdit* txtResponse;
    QLabel* lblTimings;
    QLabel* lblReceived;
    QLabel* lblRedirects;
    QLabel* lblLastNew;
    QToolButton* cmdClose;
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};

// The texts the window shows of a fetch record, each on its own so that
// they can be checked without the window.
namespace ConnectionTexts {
// "name lookup 2 ms, connect 3 ms, TLS none, first byte 10 ms, whole response 25 ms"
QString Timings(const FetchRecord& record);
// "23.4 KB (23,961 bytes)"
QString Received(const FetchRecord& record);
// "none", or the count and each address ("2: http://a/…, http://b/…")
QString Redirects(const FetchRecord& record);
// The response's header with any address a Location line names masked as
// the panels mask addresses: a server may send a password there too.
QString Response(const FetchRecord& record);
} // namespace ConnectionTexts
