#pragma once

#include "platform/net/SocketControl.h"

#include <QObject>
#include <QString>

#include <memory>

struct FetchState;

// What a download drives while its bytes arrive: the slot's progress bar and
// the shared status line.
class DownloadProgress {
public:
    virtual ~DownloadProgress() = default;
    // The slot's bar, 0 to 100; false, keeping the old value, when refused.
    virtual bool SetProgress(float value) = 0;
    virtual float Progress() const = 0;
    // The first panel of the status bar.
    virtual void ShowStatus(const QString& text) = 0;
};

// One panel slot's picture download: one GET per connection, the response
// collected until the server closes. Network failures are silent: the
// exchange then simply never reports the server closing. A response whose
// header announces its length ends with its whole body: the exchange closes
// the connection itself then, should the server keep it open, and a close or
// reset from the server before the whole body came cuts it short, which is
// no end either.
class HttpExchange : public QObject {
    Q_OBJECT
public:
    // A response held in memory may grow to this many bytes; one more and
    // the download is abandoned.
    static constexpr qsizetype MaxResponseBytes = 64 * 1024 * 1024;

    // Fetches over a WinsockControl of its own.
    HttpExchange(FetchState& state, DownloadProgress& progress, QObject* parent = nullptr);
    // Fetches over the given socket, which it keeps.
    HttpExchange(FetchState& state, DownloadProgress& progress,
                 std::unique_ptr<SocketControl> socket, QObject* parent = nullptr);

    // Abandons any download under way and starts fetching the address. An
    // address without "/" after the host, or with an unusable port, starts
    // nothing and leaves the state as it was.
    void BeginFetch(const QString& address);
    // Abandons the download under way; raises nothing.
    void Close();
    // After the server has closed: returns the header text and leaves only
    // the body in the receive buffer.
    QString SplitResponse();

signals:
    // The response is all there: the server closed the connection, or the
    // whole announced body came.
    void ServerClosed();
    // The response grew past MaxResponseBytes and was abandoned.
    void ResponseTooLarge();

private:
    void SendRequest();
    void OnDataArrival(qint64 bytesTotal);
    void OnPeerClosed();
    void OnPeerReset();
    void FinishIfWhole();
    void AbandonTooLarge();
    void ShowProgress(const QString& downloadName);
    void LookForHeaderEnd();

    FetchState& state_;
    DownloadProgress& progress_;
    std::unique_ptr<SocketControl> wsCam_;
};
