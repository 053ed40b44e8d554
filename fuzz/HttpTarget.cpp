// The HTTP exchange of one panel, fed a server's response in random pieces
// through a socket stand-in: collection, the header's end, "Content-Length"
// and the progress line, the end once the body is whole (by its announced
// length, its chunked encoding or an MJPEG stream's first part) or at the
// server's close, the next request after a redirect or a 401, the split
// (a decoded body never longer than the received one), and what the arrival
// reads from the header ("image/", "Last-Modified:", "Content-Encoding").

#include "fetch/AuthChallenge.h"
#include "fetch/CamAddress.h"
#include "fetch/ChunkedBody.h"
#include "fetch/FetchState.h"
#include "fetch/HttpExchange.h"
#include "fetch/HttpRequest.h"
#include "fetch/HttpResponse.h"
#include "fetch/MultipartStream.h"
#include "fetch/PictureArrival.h"
#include "fuzz/FuzzSupport.h"
#include "platform/files/FileHelpers.h"
#include "platform/text/AnsiText.h"

#include <cmath>
#include <utility>

namespace {

const QByteArray Terminator = QByteArrayLiteral("\r\n\r\n");
// Positions past this (0-based) are not searched while bytes arrive.
constexpr qsizetype LastSearchedStart = 32766;

// Connects at once and hands over exactly the bytes the target feeds it.
class FedSocket : public SocketControl {
public:
    void SetLocalPort(quint16 port) override { LocalPort = port; }
    void Connect(const QString& host, quint16 port) override {
        Host = host;
        Port = port;
        Open = true;
        ++Connects;
    }
    bool SendData(const QByteArray& bytes) override {
        if (Open)
            Sent += bytes;
        return Open;
    }
    QByteArray GetData() override { return std::exchange(waiting_, {}); }
    void Close() override {
        Open = false;
        waiting_.clear();
    }

    void Arrive(const QByteArray& bytes) {
        waiting_ += bytes;
        emit DataArrival(waiting_.size());
    }
    void ConnectionMade() { emit Connected(); }
    void ServerCloses() { emit PeerClosed(); }

    QString Host;
    quint16 Port = 0;
    quint16 LocalPort = 1;
    bool Open = false;
    int Connects = 0;
    QByteArray Sent;

private:
    QByteArray waiting_;
};

// A progress bar over 0 to 100 that refuses other values, and the status line.
class Bar : public DownloadProgress {
public:
    bool SetProgress(float value) override {
        Require(std::isfinite(value) && value >= 0, "the progress is a finite share");
        if (value > 100)
            return false;
        value_ = value;
        return true;
    }
    float Progress() const override { return value_; }
    void ShowStatus(const QString& text) override { Statuses << text; }

    QStringList Statuses;

private:
    float value_ = 0;
};

// Random piece sizes from a seed in the input.
class Pieces {
public:
    Pieces(std::uint16_t seed, int scale)
        : state_(0x9E3779B9u ^ seed)
        , largest_(1u << (2 * scale)) {}
    qsizetype Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return qsizetype(1 + state_ % largest_);
    }

private:
    std::uint32_t state_;
    std::uint32_t largest_;
};

struct Exchange {
    FetchState State;
    Bar Progress;
    FedSocket* Socket = new FedSocket;
    HttpExchange Http{State, Progress, std::unique_ptr<SocketControl>(Socket)};
};

void CheckStart(const Exchange& slot, const QString& address) {
    const auto parsed = ParseCamAddress(address);
    const bool plain = parsed && parsed->Scheme == CamScheme::Http;
    const auto endpoint = plain ? parsed->Endpoint : std::nullopt;
    Require(slot.Socket->Open == bool(endpoint), "only a usable plain address connects");
    if (!endpoint)
        return;
    Require(slot.Socket->Host == endpoint->Host && slot.Socket->Port == endpoint->Port,
            "the exchange connects to the address's host and port");
    Require(slot.Socket->LocalPort == 0, "any local port");
    Require(slot.State.ReceiveBuffer.isEmpty() && !slot.State.HeaderComplete &&
                slot.State.BytesReceived == 0 && slot.State.ContentLength == 0,
            "a start forgets the last response");
}

// The design's request, with at most an Authorization line more, and never a
// password as it was written.
void CheckRequest(const Exchange& slot, const QString& address, bool answered) {
    const QString& path = slot.State.RequestPath;
    const QByteArray& sent = slot.Socket->Sent;
    Require(!path.contains(QLatin1Char(' ')), "no space is sent in the path");
    const QByteArray plain = RequestBytes(slot.State.HostName, path);
    Require(answered ? sent.startsWith(plain.chopped(2) + "Authorization: ") : sent == plain,
            "the request is sent once, whole; only an answer to a 401 adds a line");
    Require(sent.startsWith("GET " + ToAnsi(path) + " HTTP/1.1\r\n") && sent.endsWith(Terminator),
            "the request line comes first and a blank line ends the request");
    const auto parsed = ParseCamAddress(address);
    Require(!slot.State.HostName.contains(QLatin1Char('@')), "no user in the Host line");
    Require(!parsed || !parsed->Password || parsed->Password->size() < 4 ||
                !sent.mid(plain.size() - 2).contains(parsed->Password->toUtf8()),
            "the password is never sent as written");
}

// After every arrival: what the exchange holds follows from the bytes so far.
void CheckReceived(const Exchange& slot, const QByteArray& response, qsizetype arrived,
                   const QByteArray& piece, qint32& contentLength) {
    Require(slot.State.ReceiveBuffer.size() == arrived && slot.State.ReceiveBuffer.endsWith(piece),
            "every byte is kept, in order");
    const qsizetype end = response.indexOf(Terminator);
    const bool complete =
        end >= 0 && end <= LastSearchedStart && end + Terminator.size() <= arrived;
    Require(slot.State.HeaderComplete == complete, "the header is complete at its blank line");
    if (!complete) {
        Require(slot.State.BytesReceived == arrived, "all bytes count until then");
        Require(slot.State.ContentLength == 0, "no length before the header is complete");
        return;
    }
    Require(slot.State.BytesReceived == arrived - end - Terminator.size(),
            "afterwards only body bytes count");
    if (contentLength < 0)
        contentLength = slot.State.ContentLength;
    Require(slot.State.ContentLength == contentLength, "the length is read once");
}

void CheckStatus(const Exchange& slot, qsizetype statusesBefore, bool shown) {
    const QStringList& statuses = slot.Progress.Statuses;
    Require(statuses.size() == statusesBefore + (shown ? 1 : 0),
            "one status line per arrival after the header");
    Require(!shown || statuses.last().startsWith(QStringLiteral("Downloading ") +
                                                 FileNameOf(slot.State.RequestPath)),
            "the status line names the download");
}

void CheckSplit(const QByteArray& response, const QString& header, const QByteArray& body) {
    const qsizetype end = response.indexOf(Terminator);
    if (end < 0) {
        Require(header.isEmpty() && body == response, "no blank line: no header, all kept");
        return;
    }
    Require(header == FromAnsi(response.left(end)), "the header is all before the blank line");
    Require(body == response.mid(end + Terminator.size()), "the body is all after it");
    Require(response.size() == end + Terminator.size() + body.size(),
            "header, blank line and body add up to the response");
}

// How a body frames itself, read with the pieces on their own.
struct Framing {
    bool chunked = false;
    std::optional<QByteArray> stream; // the Content-Type of an MJPEG stream
    std::optional<qint64> length;
};

Framing FramingOf(const QByteArray& header) {
    const QString text = FromAnsi(header);
    Framing framing;
    framing.chunked = FieldValue(text, QLatin1String("Transfer-Encoding"))
                          .section(u',', -1)
                          .trimmed()
                          .compare(QLatin1String("chunked"), Qt::CaseInsensitive) == 0;
    const QByteArray type = FieldValue(text, QLatin1String("Content-Type")).toLatin1();
    if (StreamBoundaryOf(type))
        framing.stream = type;
    if (!framing.chunked && !framing.stream)
        framing.length = AnnouncedBodyLength(header);
    return framing;
}

// How far the body received so far has come, read with the pieces on their
// own: its announced length reached, its chunked encoding ended or broken,
// an MJPEG stream's first part complete or no part possible; `closed` when
// the server closed after it.
enum class BodyEnd { Reading, Ended, CutShort };

BodyEnd ExpectedEnd(const QByteArray& header, const QByteArray& body, bool closed) {
    const Framing framing = FramingOf(header);
    if (framing.length)
        return body.size() >= *framing.length ? BodyEnd::Ended
               : closed                       ? BodyEnd::CutShort
                                              : BodyEnd::Reading;
    QByteArray data = body;
    bool encodingEnded = false;
    if (framing.chunked) {
        ChunkedBodyReader reader;
        data.clear();
        const auto state = reader.Read(body, &data);
        if (state == ChunkedBodyReader::State::Malformed)
            return framing.stream ? BodyEnd::CutShort : BodyEnd::Ended;
        encodingEnded = state == ChunkedBodyReader::State::Complete;
        if (encodingEnded && !framing.stream)
            return BodyEnd::Ended;
    }
    if (!framing.stream)
        return closed ? BodyEnd::Ended : BodyEnd::Reading;
    MultipartStreamReader reader(*framing.stream);
    switch (reader.Read(data)) {
    case MultipartStreamReader::State::Complete:
        return BodyEnd::Ended;
    case MultipartStreamReader::State::Malformed:
        return BodyEnd::CutShort;
    case MultipartStreamReader::State::Reading:
        break;
    }
    return closed || encodingEnded ? BodyEnd::CutShort : BodyEnd::Reading;
}

// An arrival that completes the body ends the exchange, closing the
// connection from this side; one that shows it can never end fails it;
// nothing else that arrives does either.
void CheckEnds(const Exchange& slot, const QByteArray& received, bool finished, bool failed) {
    const qsizetype end = received.indexOf(Terminator);
    const BodyEnd expected =
        slot.State.HeaderComplete
            ? ExpectedEnd(received.left(end), received.mid(end + Terminator.size()), false)
            : BodyEnd::Reading;
    Require(finished == (expected == BodyEnd::Ended), "the exchange ends once the body is there");
    Require(failed == (expected == BodyEnd::CutShort), "and fails once it can never be");
    Require(!(finished || failed) || !slot.Socket->Open, "and closes the connection then");
}

// A redirect that can be followed, or a 401 the address can answer, is the
// only thing that leads to another request.
void CheckLeadsOn(const Exchange& slot, const QByteArray& response, const QString& address,
                  bool ledOn) {
    const qsizetype end = response.indexOf(Terminator);
    const QString header = FromAnsi(response.left(end));
    const int code = StatusOf(header) ? StatusOf(header)->Code : 0;
    const auto start = ParseCamAddress(address);
    bool expected = false;
    if (code == 301 || code == 302 || code == 303 || code == 307 || code == 308) {
        const Redirect redirect =
            ResolveRedirect(*start, FieldValue(header, QLatin1String("Location")));
        expected = redirect.Result == Redirect::Outcome::Follow &&
                   AddressText(redirect.Target) != AddressText(*start);
        if (expected && ledOn)
            Require(slot.Socket->Host == redirect.Target.Endpoint->Host &&
                        slot.Socket->Port == redirect.Target.Endpoint->Port &&
                        slot.State.HostName == redirect.Target.HostName,
                    "a redirect leads where its Location says");
    } else if (code == 401) {
        expected = start->User && start->Password &&
                   ChooseChallenge(ChallengesInHeader(response.left(end)), false);
    }
    Require(ledOn == expected, "only a redirect or an answerable 401 leads on");
}

// The body handed on is the received one, decoded: never longer.
void CheckDecodedSplit(const QByteArray& received, const QString& header, const QByteArray& body) {
    const qsizetype end = received.indexOf(Terminator);
    if (end < 0)
        return CheckSplit(received, header, body);
    const QByteArray rawBody = received.mid(end + Terminator.size());
    const Framing framing = FramingOf(received.left(end));
    Require(body.size() <= rawBody.size(), "a decoded body is never longer than the received one");
    if (framing.stream) {
        Require(header.startsWith(FromAnsi(received.left(received.indexOf("\r\n")))),
                "a stream's part keeps the response's status line");
    } else if (framing.chunked) {
        Require(header == FromAnsi(received.left(end)), "the header is all before the blank line");
        Require(body == DecodeChunkedBody(rawBody).value_or(QByteArray()),
                "a chunked body is its data, or nothing when broken");
    } else {
        CheckSplit(received, header, body);
    }
}

void CheckArrivalRules(const QString& header, bool stored) {
    Require(header.isEmpty() ? !IsPictureHeader(header) : true, "no header is no picture");
    const QString earlier =
        stored ? QStringLiteral("Last-Modified: Tue, 05 Dec 2006 10:00:00 GMT") : QString();
    QString line = earlier;
    const ChangeCheck first = CheckLastModified(header, line);
    Require(first.lineFound ==
                header.contains(QLatin1String("Last-Modified:"), Qt::CaseInsensitive),
            "the line is found in any letter case");
    Require(first.lineFound ? !line.isEmpty() && !line.contains(QLatin1String("\r\n"))
                            : line == earlier,
            "the stored line is one whole line, or the old one");
    Require(first.pictureChanged == (first.lineFound && !earlier.isEmpty() && line != earlier),
            "new means a line that differs from a stored one");
    Require(first.stampRefreshed == (first.lineFound && line != earlier),
            "the refresh time is stamped for every line not seen before");
    const ChangeCheck again = CheckLastModified(header, line);
    Require(!again.pictureChanged && !again.stampRefreshed, "the same line again is not new");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool padded = flags & 1;
    // A padded header comes in pieces of up to 256 bytes at least, or the
    // search for its end on every arrival would take most of the time.
    Pieces pieces(input.Word(), padded ? qMax(4, (flags >> 1) & 7) : (flags >> 1) & 7);
    const bool restarted = flags & 0x10;
    const bool stored = flags & 0x20;
    const QString address = (flags & 0x40) ? QString::fromUtf8(input.Take(input.Byte()))
                                           : QStringLiteral("http://camhost/cams/live view.jpg");
    QByteArray response = input.Rest();
    // Brings the blank line near the end of the part searched while arriving.
    if (padded)
        response.prepend("X-Pad: " + QByteArray(32740 + (flags >> 7) * 20, 'p') + "\r\n");

    Exchange slot;
    slot.Http.BeginFetch(address);
    CheckStart(slot, address);
    if (!slot.Socket->Open)
        return 0;
    slot.Socket->ConnectionMade();
    CheckRequest(slot, address, false);

    bool finished = false;
    bool failed = false;
    QObject::connect(&slot.Http, &HttpExchange::ServerClosed, [&] { finished = true; });
    QObject::connect(&slot.Http, &HttpExchange::FetchFailed, [&] { failed = true; });
    qsizetype arrived = 0;
    qint32 contentLength = -1;
    for (bool again = restarted; arrived < response.size();) {
        const QByteArray piece = response.mid(arrived, pieces.Next());
        const bool progressShown = slot.State.HeaderComplete;
        const qsizetype statusesBefore = slot.Progress.Statuses.size();
        const int connects = slot.Socket->Connects;
        const bool headerBefore = slot.State.HeaderComplete;
        slot.Socket->Arrive(piece);
        arrived += piece.size();
        const bool ledOn = slot.Socket->Connects != connects;
        if (!headerBefore && (ledOn || slot.State.HeaderComplete))
            CheckLeadsOn(slot, response.left(arrived), address, ledOn);
        if (ledOn) {
            // The next request of the fetch; its answer is another input's.
            const auto status = StatusOf(FromAnsi(response.left(response.indexOf(Terminator))));
            slot.Socket->Sent.clear();
            slot.Socket->ConnectionMade();
            CheckRequest(slot, address, status && status->Code == 401);
            return 0;
        }
        CheckReceived(slot, response, arrived, piece, contentLength);
        CheckStatus(slot, statusesBefore, progressShown);
        Require(!failed || slot.Http.Ending().Problem == FetchEnding::Kind::CutShort,
                "no bytes fail a fetch but a body that can never end");
        CheckEnds(slot, response.left(arrived), finished, failed);
        if (finished || failed)
            break;
        if (again && arrived * 2 >= response.size()) {
            // The next start abandons the exchange halfway.
            again = false;
            arrived = 0;
            contentLength = -1;
            slot.Http.BeginFetch(address);
            CheckStart(slot, address);
            slot.Socket->ConnectionMade();
        }
    }

    const QByteArray received = response.left(arrived);
    Require(slot.State.ReceiveBuffer == received, "the whole response is kept, in order");
    if (!finished && !failed) {
        slot.Socket->ServerCloses();
        Require(finished != failed, "the server's close ends the fetch, one way or the other");
        const qsizetype end = received.indexOf(Terminator);
        const bool cutShort =
            end >= 0 && ExpectedEnd(received.left(end), received.mid(end + Terminator.size()),
                                    true) == BodyEnd::CutShort;
        Require(failed == cutShort, "a close before the body's end cuts it short");
    }
    if (failed)
        return 0;
    const QString header = slot.Http.SplitResponse();
    CheckDecodedSplit(received, header, slot.State.ReceiveBuffer);
    CheckArrivalRules(header, stored);
    QByteArray body = slot.State.ReceiveBuffer;
    constexpr qsizetype DecodedLimit = 1024 * 1024;
    const bool withinLimit = DecodeContent(header, body, DecodedLimit);
    Require(withinLimit ? body.size() <= DecodedLimit : body.isEmpty(),
            "an inflated body keeps to the limit");
    return 0;
}
