#pragma once

#include "fetch/CamAddress.h"
#include "fetch/CamSignIn.h"
#include "fetch/ExchangeSockets.h"
#include "fetch/FetchEnding.h"
#include "fetch/FetchRecord.h"
#include "fetch/ResponseBody.h"
#include "platform/net/ServerCertificate.h"
#include "platform/net/SocketControl.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

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

// One panel slot's picture download: one GET per connection. A fetch may take
// several requests: a redirect (301, 302, 303, 307, 308) is followed up to
// MaxRedirectHops times, and a 401 is answered with the address's user and
// password (or one CamSignIn's lookup knows), once; the last response is the
// fetch's. A response ends once its body is all there: the length its header
// announces, the end of a chunked body, the first picture of an MJPEG stream
// (the exchange then closes the connection itself), or else the server's
// close. A close or reset before that cuts the response short, which is no
// end either.
//
// Every fetch ends once, with ServerClosed (the response is there: split it),
// ResponseTooLarge or FetchFailed; Ending() then tells what went wrong, if
// anything. A fetch that ends at once (no socket for its scheme) ends inside
// BeginFetch. Our own close, and a new fetch, end nothing.
class HttpExchange : public QObject {
    Q_OBJECT
public:
    // A response held in memory may grow to this many bytes; one more and
    // the download is abandoned.
    static constexpr qsizetype MaxResponseBytes = 64 * 1024 * 1024;
    // Silence is given up after this many seconds at most.
    static constexpr int LongestAnswerWait = 30;

    // Fetches over the program's sockets (MakeSocket).
    HttpExchange(FetchState& state, DownloadProgress& progress, QObject* parent = nullptr);
    HttpExchange(FetchState& state, DownloadProgress& progress, SocketMaker sockets,
                 QObject* parent = nullptr);
    // Fetches plain http over the given socket, which it keeps; an https
    // address ends at once.
    HttpExchange(FetchState& state, DownloadProgress& progress,
                 std::unique_ptr<SocketControl> socket, QObject* parent = nullptr);
    ~HttpExchange() override;

    // Abandons any download under way and starts fetching the address. An
    // address without "/" after the host, or with an unusable port, starts
    // nothing and leaves the state as it was.
    void BeginFetch(const QString& address);
    // Abandons the download under way; raises nothing.
    void Close();
    // After ServerClosed: returns the header text and leaves only the body
    // in the receive buffer, decoded from its transfer encoding; of an MJPEG
    // stream, the header is the status line with the first part's lines and
    // the body that part's.
    QString SplitResponse();

    // The answer timeout in seconds, from 1 to LongestAnswerWait.
    void SetAnswerTimeout(int seconds);
    // The caller's clock, once a second (a panel's refresh timer): a fetch
    // that has received no byte during as many seconds of it in a row as
    // the answer timeout is given up (FetchFailed, "No answer for N s").
    void OneSecondPassed();

    // Where the sockets come from from now on; the ones made so far go,
    // with any download under way.
    void SetSocketMaker(SocketMaker sockets);
    // Where passwords that addresses leave out come from.
    void SetPasswordLookup(CamSignIn::PasswordLookup lookup);

    // How the last fetch ended (kind None while one is under way, or when
    // its response came without trouble).
    const FetchEnding& Ending() const { return ending_; }
    // What the last fetch did on the wire so far.
    const FetchRecord& Record() const { return record_; }
    // After a fetch that ended on the server's certificate, until the next
    // one begins: that certificate and its server, for the user to trust.
    // Null otherwise, and when the server showed none.
    ServerCertificate RefusedCertificate() const;

signals:
    // The fetch's response is all there: the server closed the connection,
    // or the whole body came.
    void ServerClosed();
    // The response grew past MaxResponseBytes and was abandoned.
    void ResponseTooLarge();
    // The fetch ended without a response to hand on: Ending() says why.
    void FetchFailed();

private:
    void Attach(SocketControl* socket);
    void StartRequest(const CamAddress& address);
    SocketControl* SocketFor(CamScheme scheme);
    void CloseConnection();
    void SendRequest();
    void OnDataArrival(qint64 bytesTotal);
    void OnPeerClosed();
    void OnPeerReset();
    void OnFailed(SocketFailure failure, const QString& detail);
    bool HeaderLeadsOn(const QByteArray& header);
    bool FollowRedirect(const QString& header);
    bool AnswerChallenge(const QByteArray& header);
    void ReadBody();
    void ActOn(ResponseBody::State state);
    ResponseBody& BodyOfWholeBuffer();
    void Finish();
    void NoteEnding(FetchEnding::Kind problem, const QString& reason);
    void Fail(FetchEnding::Kind problem, const QString& reason);
    void AbandonTooLarge();
    void ShowProgress(const QString& downloadName);
    void LookForHeaderEnd();
    qint64 Elapsed() const { return clock_.elapsed(); }

    FetchState& state_;
    DownloadProgress& progress_;
    SocketMaker makeSocket_;
    // One socket per scheme, made when first needed.
    std::array<std::unique_ptr<SocketControl>, 2> sockets_;
    SocketControl* wsCam_ = nullptr; // the one of the request under way
    CamSignIn signIn_;
    QString address_;  // the cam's address as last given
    CamAddress hop_;   // where the request under way goes
    QStringList seen_; // the addresses this fetch asked, to see a loop
    int redirects_ = 0;
    bool underWay_ = false;
    qsizetype headerBytes_ = 0; // the header and its blank line, once complete
    std::optional<ResponseBody> body_;
    FetchEnding ending_;
    FetchRecord record_;
    QElapsedTimer clock_;
    int answerTimeout_ = LongestAnswerWait;
    int silentSeconds_ = 0;
    bool heard_ = false; // a byte came since the last second counted
};
