#include "fetch/HttpExchange.h"

#include "fetch/FetchReason.h"
#include "fetch/FetchState.h"
#include "fetch/HttpProgress.h"
#include "fetch/HttpRequest.h"
#include "fetch/HttpResponse.h"
#include "platform/files/FileHelpers.h"
#include "platform/text/AnsiText.h"

#include <QSslCertificate>

#include <algorithm>

namespace {

const QByteArray HeaderTerminator = QByteArrayLiteral("\r\n\r\n");

bool IsRedirect(int code) {
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

} // namespace

HttpExchange::HttpExchange(FetchState& state, DownloadProgress& progress, QObject* parent)
    : HttpExchange(state, progress, SocketMaker(MakeSocket), parent) {}

HttpExchange::HttpExchange(FetchState& state, DownloadProgress& progress, SocketMaker sockets,
                           QObject* parent)
    : QObject(parent)
    , state_(state)
    , progress_(progress)
    , makeSocket_(std::move(sockets)) {}

HttpExchange::HttpExchange(FetchState& state, DownloadProgress& progress,
                           std::unique_ptr<SocketControl> socket, QObject* parent)
    : HttpExchange(state, progress, SocketMaker(), parent) {
    sockets_[size_t(CamScheme::Http)] = std::move(socket);
    Attach(sockets_[size_t(CamScheme::Http)].get());
}

HttpExchange::~HttpExchange() = default;

// Only the socket of the request under way is listened to.
void HttpExchange::Attach(SocketControl* socket) {
    const auto current = [this, socket] {
        return socket == wsCam_;
    };
    connect(socket, &SocketControl::HostFound, this, [=, this] {
        if (current())
            record_.NameLookupMs = Elapsed();
    });
    connect(socket, &SocketControl::HandshakeStarted, this, [=, this] {
        if (current())
            record_.ConnectMs = Elapsed();
    });
    connect(socket, &SocketControl::Connected, this, [=, this] {
        if (current())
            SendRequest();
    });
    connect(socket, &SocketControl::DataArrival, this, [=, this](qint64 bytesTotal) {
        if (current())
            OnDataArrival(bytesTotal);
    });
    connect(socket, &SocketControl::PeerClosed, this, [=, this] {
        if (current())
            OnPeerClosed();
    });
    connect(socket, &SocketControl::PeerReset, this, [=, this] {
        if (current())
            OnPeerReset();
    });
    connect(socket, &SocketControl::Failed, this,
            [=, this](SocketFailure failure, const QString& detail) {
                if (current())
                    OnFailed(failure, detail);
            });
}

SocketControl* HttpExchange::SocketFor(CamScheme scheme) {
    std::unique_ptr<SocketControl>& socket = sockets_[size_t(scheme)];
    if (!socket && makeSocket_) {
        socket = makeSocket_(scheme);
        if (socket)
            Attach(socket.get());
    }
    return socket.get();
}

void HttpExchange::BeginFetch(const QString& address) {
    CloseConnection();
    const auto parsed = ParseCamAddress(address);
    if (!parsed)
        return;
    if (address != address_) {
        signIn_.Reset();
        address_ = address;
    }
    ending_ = {};
    record_ = {};
    seen_ = QStringList{AddressText(*parsed)};
    redirects_ = 0;
    silentSeconds_ = 0;
    heard_ = false;
    clock_.start();
    StartRequest(*parsed);
}

// One request of the fetch: the first, or the next after a redirect or a
// challenge.
void HttpExchange::StartRequest(const CamAddress& address) {
    hop_ = address;
    state_.HostName = hop_.HostName;
    state_.RequestPath = hop_.RequestPath;
    state_.ReceiveBuffer.clear();
    state_.HeaderComplete = false;
    state_.ContentLength = 0;
    state_.BytesReceived = 0;
    headerBytes_ = 0;
    body_.reset();
    if (!hop_.Endpoint)
        return;
    record_.Server = ServerOf(hop_);
    record_.NameLookupMs = record_.ConnectMs = record_.TlsMs = record_.FirstByteMs = std::nullopt;
    wsCam_ = SocketFor(hop_.Scheme);
    if (!wsCam_) {
        Fail(FetchEnding::Kind::ConnectionFailed,
             FetchReason::ConnectionFailed(QStringLiteral("no connection for https")));
        return;
    }
    underWay_ = true;
    wsCam_->SetLocalPort(0);
    wsCam_->Connect(hop_.Endpoint->Host, hop_.Endpoint->Port);
}

void HttpExchange::CloseConnection() {
    if (wsCam_)
        wsCam_->Close();
    underWay_ = false;
}

void HttpExchange::Close() {
    CloseConnection();
}

QString HttpExchange::SplitResponse() {
    QString header = TakeHeaderText(state_.ReceiveBuffer);
    if (body_)
        body_->Take(header, state_.ReceiveBuffer);
    body_.reset();
    return header;
}

void HttpExchange::SetAnswerTimeout(int seconds) {
    answerTimeout_ = std::clamp(seconds, 1, LongestAnswerWait);
}

void HttpExchange::OneSecondPassed() {
    if (!underWay_)
        return;
    silentSeconds_ = heard_ ? 0 : silentSeconds_ + 1;
    heard_ = false;
    if (silentSeconds_ >= answerTimeout_)
        Fail(FetchEnding::Kind::NoAnswer, FetchReason::NoAnswer(answerTimeout_));
}

void HttpExchange::SetSocketMaker(SocketMaker sockets) {
    CloseConnection();
    wsCam_ = nullptr;
    sockets_ = {};
    makeSocket_ = std::move(sockets);
}

void HttpExchange::SetPasswordLookup(CamSignIn::PasswordLookup lookup) {
    signIn_.SetPasswordLookup(std::move(lookup));
}

// Over TLS the connection was made when the handshake began.
void HttpExchange::SendRequest() {
    (record_.ConnectMs ? record_.TlsMs : record_.ConnectMs) = Elapsed();
    state_.RequestPath = EscapeSpaces(state_.RequestPath);
    const QByteArray authorization = signIn_.AnswerFor(hop_, state_.RequestPath);
    record_.Request = MaskedRequestText(state_.HostName, state_.RequestPath, authorization);
    wsCam_->SendData(RequestBytes(state_.HostName, state_.RequestPath, authorization));
}

// Each step works on its own: a missing header, an unreadable length or a
// refused bar value only leaves that step without effect.
void HttpExchange::OnDataArrival(qint64 bytesTotal) {
    // The status line names the last piece of the path, query and all.
    const QString downloadName = FileNameOf(state_.RequestPath);
    const QByteArray bytes = wsCam_->GetData();
    if (state_.ReceiveBuffer.size() + bytes.size() > MaxResponseBytes) {
        AbandonTooLarge();
        return;
    }
    if (!bytes.isEmpty()) {
        heard_ = true;
        if (!record_.FirstByteMs)
            record_.FirstByteMs = Elapsed();
    }
    record_.BytesReceived += bytes.size();
    state_.ReceiveBuffer += bytes;
    state_.BytesReceived += static_cast<qint32>(bytesTotal);
    if (state_.HeaderComplete) {
        ShowProgress(downloadName);
    } else {
        LookForHeaderEnd();
        if (state_.HeaderComplete &&
            HeaderLeadsOn(state_.ReceiveBuffer.left(headerBytes_ - HeaderTerminator.size())))
            return;
    }
    if (state_.HeaderComplete)
        ReadBody();
}

// A redirect followed, or a challenge answered, starts the next request of
// the fetch at once, without reading the body; any other response is the
// fetch's own.
bool HttpExchange::HeaderLeadsOn(const QByteArray& header) {
    const QString text = FromAnsi(header);
    record_.Response = text;
    const auto status = StatusOf(text);
    const int code = status ? status->Code : 0;
    if ((IsRedirect(code) && FollowRedirect(text)) || (code == 401 && AnswerChallenge(header)))
        return true;
    body_.emplace(header);
    return false;
}

bool HttpExchange::FollowRedirect(const QString& header) {
    const QString location = FieldValue(header, QLatin1String("Location"));
    if (location.isEmpty())
        return false;
    const Redirect redirect = ResolveRedirect(hop_, location);
    if (redirect.Result == Redirect::Outcome::Downgrade) {
        NoteEnding(FetchEnding::Kind::Redirects, FetchReason::RedirectToPlainHttp());
        return false;
    }
    if (redirect.Result != Redirect::Outcome::Follow)
        return false;
    // A loop would go round until the hops run out: it ends at once.
    const QString target = AddressText(redirect.Target);
    if (redirects_ == MaxRedirectHops || seen_.contains(target)) {
        NoteEnding(FetchEnding::Kind::Redirects, FetchReason::TooManyRedirects());
        return false;
    }
    ++redirects_;
    seen_ << target;
    record_.Redirects << MaskedAddress(target);
    CloseConnection();
    StartRequest(redirect.Target);
    return true;
}

bool HttpExchange::AnswerChallenge(const QByteArray& header) {
    const CamSignIn::Outcome outcome = signIn_.OnUnauthorized(hop_, header);
    using Verdict = CamAuthorization::Verdict;
    switch (outcome.Verdict) {
    case Verdict::Answer: {
        CloseConnection();
        const CamAddress again = hop_;
        StartRequest(again);
        return true;
    }
    case Verdict::NeedsPassword:
    case Verdict::Refused:
        if (outcome.Verdict == Verdict::Refused)
            NoteEnding(FetchEnding::Kind::PasswordRefused, FetchReason::PasswordRefused());
        else
            NoteEnding(FetchEnding::Kind::NeedsPassword, FetchReason::NeedsPassword());
        ending_.Server = outcome.Server;
        ending_.User = outcome.User;
        ending_.Realm = outcome.Realm;
        ending_.PasswordStored = outcome.PasswordStored;
        return false;
    case Verdict::Unsupported:
        return false;
    }
    return false;
}

void HttpExchange::ReadBody() {
    ActOn(body_->Read(QByteArrayView(state_.ReceiveBuffer).sliced(headerBytes_)));
}

void HttpExchange::ActOn(ResponseBody::State state) {
    if (state == ResponseBody::State::Ended)
        Finish();
    else if (state == ResponseBody::State::CutShort)
        Fail(FetchEnding::Kind::CutShort, FetchReason::PictureUnreadable());
}

// The header was not seen while the bytes arrived (its end lay beyond where
// it is looked for): the whole response is read as it stands.
ResponseBody& HttpExchange::BodyOfWholeBuffer() {
    if (!body_) {
        const qsizetype end = state_.ReceiveBuffer.indexOf(HeaderTerminator);
        headerBytes_ = end + HeaderTerminator.size();
        body_.emplace(QByteArrayView(state_.ReceiveBuffer).first(end));
    }
    return *body_;
}

// Without a blank line there is no header: the arrival finds no picture.
void HttpExchange::OnPeerClosed() {
    if (!body_ && !state_.ReceiveBuffer.contains(HeaderTerminator)) {
        Finish();
        return;
    }
    ResponseBody& body = BodyOfWholeBuffer();
    ActOn(body.AtClose(QByteArrayView(state_.ReceiveBuffer).sliced(headerBytes_)));
}

// Some servers end with a reset once everything is sent; a response cut short
// by one stays unfinished.
void HttpExchange::OnPeerReset() {
    const bool whole =
        (body_ || state_.ReceiveBuffer.contains(HeaderTerminator)) &&
        BodyOfWholeBuffer().Read(QByteArrayView(state_.ReceiveBuffer).sliced(headerBytes_)) ==
            ResponseBody::State::Ended;
    if (whole)
        Finish();
    else
        Fail(FetchEnding::Kind::ConnectionFailed, FetchReason::ConnectionReset());
}

void HttpExchange::OnFailed(SocketFailure failure, const QString& detail) {
    switch (failure) {
    case SocketFailure::HostNotFound:
        return Fail(FetchEnding::Kind::ConnectionFailed,
                    FetchReason::HostNotFound(hop_.Endpoint->Host));
    case SocketFailure::Refused:
        return Fail(FetchEnding::Kind::ConnectionFailed, FetchReason::ConnectionRefused());
    case SocketFailure::TimedOut:
        return Fail(FetchEnding::Kind::NoAnswer, FetchReason::NoAnswer(int(Elapsed() / 1000)));
    case SocketFailure::CertificateUntrusted:
    case SocketFailure::CertificateChanged:
        record_.Certificate = wsCam_->PeerCertificate();
        return Fail(FetchEnding::Kind::CertificateNotTrusted,
                    FetchReason::CertificateNotTrusted(detail));
    case SocketFailure::Other:
        return Fail(FetchEnding::Kind::ConnectionFailed, FetchReason::ConnectionFailed(detail));
    }
}

ServerCertificate HttpExchange::RefusedCertificate() const {
    if (ending_.Problem != FetchEnding::Kind::CertificateNotTrusted || !hop_.Endpoint)
        return {};
    return DescribeServerCertificate(hop_.Endpoint->Host, hop_.Endpoint->Port,
                                     QSslCertificate(record_.Certificate, QSsl::Der),
                                     ending_.Reason);
}

void HttpExchange::Finish() {
    CloseConnection();
    record_.WholeMs = Elapsed();
    emit ServerClosed();
}

void HttpExchange::NoteEnding(FetchEnding::Kind problem, const QString& reason) {
    ending_ = {};
    ending_.Problem = problem;
    ending_.Reason = reason;
}

void HttpExchange::Fail(FetchEnding::Kind problem, const QString& reason) {
    CloseConnection();
    NoteEnding(problem, reason);
    emit FetchFailed();
}

void HttpExchange::AbandonTooLarge() {
    CloseConnection();
    state_.ReceiveBuffer = QByteArray();
    body_.reset();
    NoteEnding(FetchEnding::Kind::TooLarge, FetchReason::TooLarge());
    emit ResponseTooLarge();
}

// Without a length to take a share of, the status line counts the bytes; the
// bar stays as it is.
void HttpExchange::ShowProgress(const QString& downloadName) {
    if (state_.ContentLength < 1) {
        progress_.ShowStatus(DownloadedBytesText(downloadName, state_.BytesReceived));
        return;
    }
    progress_.SetProgress(ProgressValue(state_.BytesReceived, state_.ContentLength));
    progress_.ShowStatus(DownloadStatusText(downloadName, progress_.Progress()));
}

// The progress display starts with the arrival after the one that completes
// the header.
void HttpExchange::LookForHeaderEnd() {
    const auto headerLength = ReceivedHeaderLength(state_.ReceiveBuffer);
    if (!headerLength)
        return;
    state_.HeaderComplete = true;
    headerBytes_ = *headerLength + HeaderTerminator.size();
    state_.BytesReceived -= static_cast<qint32>(headerBytes_);
    state_.ContentLength = ContentLengthOf(state_.ReceiveBuffer.left(*headerLength));
}
