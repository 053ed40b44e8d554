// The HTTP exchange of one panel, fed a server's response in random pieces
// through a socket stand-in: collection, the header's end, "Content-Length"
// and the progress line, the end once the announced body is whole or at the
// server's close, the split, and what the arrival reads from the header
// ("image/", "Last-Modified:", "Content-Encoding").

#include "fetch/FetchState.h"
#include "fetch/HttpAddress.h"
#include "fetch/HttpExchange.h"
#include "fetch/HttpRequest.h"
#include "fetch/HttpResponse.h"
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
    const auto parts = SplitAddress(address);
    const auto endpoint = parts ? EndpointOf(parts->HostName) : std::nullopt;
    Require(slot.Socket->Open == bool(endpoint), "only a usable address connects");
    if (!endpoint)
        return;
    Require(slot.Socket->Host == endpoint->Host && slot.Socket->Port == endpoint->Port,
            "the exchange connects to the address's host and port");
    Require(slot.Socket->LocalPort == 0, "any local port");
    Require(slot.State.ReceiveBuffer.isEmpty() && !slot.State.HeaderComplete &&
                slot.State.BytesReceived == 0 && slot.State.ContentLength == 0,
            "a start forgets the last response");
}

void CheckRequest(const Exchange& slot) {
    const QString& path = slot.State.RequestPath;
    Require(!path.contains(QLatin1Char(' ')), "no space is sent in the path");
    Require(slot.Socket->Sent == RequestBytes(slot.State.HostName, path),
            "the request is sent once, whole");
    Require(slot.Socket->Sent.startsWith("GET " + ToAnsi(path) + " HTTP/1.1\r\n") &&
                slot.Socket->Sent.endsWith(Terminator),
            "the request line comes first and a blank line ends the request");
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
            "one status line per arrival after the header, with a length");
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

// An arrival that brings the whole announced body ends the exchange, closing
// the connection from this side; nothing else that arrives does.
void CheckWholeEnds(const Exchange& slot, const QByteArray& received, bool finished) {
    const bool whole = slot.State.HeaderComplete && BodyArrivalOf(received) == BodyArrival::Whole;
    Require(finished == whole, "the exchange ends once the announced body is whole");
    Require(!finished || !slot.Socket->Open, "and closes the connection then");
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
    CheckRequest(slot);

    bool finished = false;
    QObject::connect(&slot.Http, &HttpExchange::ServerClosed, [&] { finished = true; });
    qsizetype arrived = 0;
    qint32 contentLength = -1;
    for (bool again = restarted; arrived < response.size();) {
        const QByteArray piece = response.mid(arrived, pieces.Next());
        const bool progressShown = slot.State.HeaderComplete && slot.State.ContentLength > 0;
        const qsizetype statusesBefore = slot.Progress.Statuses.size();
        slot.Socket->Arrive(piece);
        arrived += piece.size();
        CheckReceived(slot, response, arrived, piece, contentLength);
        CheckStatus(slot, statusesBefore, progressShown);
        CheckWholeEnds(slot, response.left(arrived), finished);
        if (finished)
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
    if (!finished) {
        slot.Socket->ServerCloses();
        Require(finished == (BodyArrivalOf(received) != BodyArrival::Short),
                "the server's close ends all but a response cut short");
        if (!finished)
            return 0;
    }
    const QString header = slot.Http.SplitResponse();
    CheckSplit(received, header, slot.State.ReceiveBuffer);
    CheckArrivalRules(header, stored);
    QByteArray body = slot.State.ReceiveBuffer;
    constexpr qsizetype DecodedLimit = 1024 * 1024;
    const bool withinLimit = DecodeContent(header, body, DecodedLimit);
    Require(withinLimit ? body.size() <= DecodedLimit : body.isEmpty(),
            "an inflated body keeps to the limit");
    return 0;
}
