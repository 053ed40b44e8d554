#include "fetch/HttpExchange.h"

#include "fetch/FetchState.h"
#include "fetch/HttpAddress.h"
#include "fetch/HttpProgress.h"
#include "fetch/HttpRequest.h"
#include "fetch/HttpResponse.h"
#include "platform/files/FileHelpers.h"
#include "platform/net/WinsockControl.h"

HttpExchange::HttpExchange(FetchState& state, DownloadProgress& progress, QObject* parent)
    : HttpExchange(state, progress, std::make_unique<WinsockControl>(), parent) {}

HttpExchange::HttpExchange(FetchState& state, DownloadProgress& progress,
                           std::unique_ptr<SocketControl> socket, QObject* parent)
    : QObject(parent)
    , state_(state)
    , progress_(progress)
    , wsCam_(std::move(socket)) {
    connect(wsCam_.get(), &SocketControl::Connected, this, &HttpExchange::SendRequest);
    connect(wsCam_.get(), &SocketControl::DataArrival, this, &HttpExchange::OnDataArrival);
    connect(wsCam_.get(), &SocketControl::PeerClosed, this, &HttpExchange::OnPeerClosed);
    connect(wsCam_.get(), &SocketControl::PeerReset, this, &HttpExchange::OnPeerReset);
}

void HttpExchange::BeginFetch(const QString& address) {
    wsCam_->Close();
    const auto parts = SplitAddress(address);
    if (!parts)
        return;
    state_.HostName = parts->HostName;
    state_.RequestPath = parts->RequestPath;
    state_.ReceiveBuffer.clear();
    state_.HeaderComplete = false;
    state_.ContentLength = 0;
    state_.BytesReceived = 0;
    const auto endpoint = EndpointOf(state_.HostName);
    if (!endpoint)
        return;
    wsCam_->SetLocalPort(0);
    wsCam_->Connect(endpoint->Host, endpoint->Port);
}

void HttpExchange::Close() {
    wsCam_->Close();
}

QString HttpExchange::SplitResponse() {
    return TakeHeaderText(state_.ReceiveBuffer);
}

void HttpExchange::SendRequest() {
    state_.RequestPath = EscapeSpaces(state_.RequestPath);
    wsCam_->SendData(RequestBytes(state_.HostName, state_.RequestPath));
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
    state_.ReceiveBuffer += bytes;
    state_.BytesReceived += static_cast<qint32>(bytesTotal);
    if (state_.HeaderComplete)
        ShowProgress(downloadName);
    else
        LookForHeaderEnd();
    if (state_.HeaderComplete)
        FinishIfWhole();
}

// Some servers ignore "Connection: close" and wait after a whole answer.
void HttpExchange::FinishIfWhole() {
    if (BodyArrivalOf(state_.ReceiveBuffer) != BodyArrival::Whole)
        return;
    wsCam_->Close();
    emit ServerClosed();
}

// A server that closes before its announced body is all there has cut the
// response short, as a reset would have.
void HttpExchange::OnPeerClosed() {
    if (BodyArrivalOf(state_.ReceiveBuffer) != BodyArrival::Short)
        emit ServerClosed();
}

// Some servers end with a reset once everything is sent; a response cut short
// by one stays unfinished.
void HttpExchange::OnPeerReset() {
    if (BodyArrivalOf(state_.ReceiveBuffer) == BodyArrival::Whole)
        emit ServerClosed();
}

void HttpExchange::AbandonTooLarge() {
    wsCam_->Close();
    state_.ReceiveBuffer = QByteArray();
    emit ResponseTooLarge();
}

void HttpExchange::ShowProgress(const QString& downloadName) {
    if (state_.ContentLength < 1)
        return;
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
    state_.BytesReceived -= static_cast<qint32>(*headerLength + 4);
    state_.ContentLength = ContentLengthOf(state_.ReceiveBuffer.left(*headerLength));
}
