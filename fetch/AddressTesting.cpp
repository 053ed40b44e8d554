#include "fetch/AddressTesting.h"

#include "fetch/CamAddress.h"
#include "fetch/FetchReason.h"
#include "fetch/FetchState.h"
#include "fetch/HttpExchange.h"
#include "fetch/HttpResponse.h"
#include "fetch/PictureArrival.h"
#include "platform/picture/PictureObject.h"

#include <QTimer>

namespace {

// A test has no progress bar and no status line.
class NoProgress : public DownloadProgress {
public:
    bool SetProgress(float) override { return false; }
    float Progress() const override { return 0; }
    void ShowStatus(const QString&) override {}
};

AddressTestOutcome NoPicture(const QString& reason) {
    AddressTestOutcome outcome;
    outcome.Reason = reason;
    return outcome;
}

QImage FittedThumbnail(const PictureObject& picture, QSize box) {
    const QSize size = picture.size();
    if (size.width() <= box.width() && size.height() <= box.height())
        return picture.Pixels();
    return picture.Thumbnail(size.scaled(box, Qt::KeepAspectRatio));
}

// One fetch of one address. The outcome is handed on from the event loop,
// so whoever receives it may let the test go at once.
class ExchangeTest : public QObject, public AddressTest {
public:
    ExchangeTest(SocketMaker sockets, const CamSignIn::PasswordLookup& passwords, QSize thumbnail,
                 AddressTester::Done done)
        : exchange_(state_, progress_, std::move(sockets))
        , thumbnail_(thumbnail)
        , done_(std::move(done)) {
        exchange_.SetPasswordLookup(passwords);
        connect(&exchange_, &HttpExchange::ServerClosed, this, [this] {
            const QString header = exchange_.SplitResponse();
            finish(OutcomeOfResponse(header, state_.ReceiveBuffer, exchange_.Ending().Reason,
                                     thumbnail_));
        });
        connect(&exchange_, &HttpExchange::ResponseTooLarge, this,
                [this] { finish(NoPicture(FetchReason::TooLarge())); });
        connect(&exchange_, &HttpExchange::FetchFailed, this,
                [this] { finish(NoPicture(exchange_.Ending().Reason)); });
        // The exchange counts silence in the seconds it is told of.
        clock_.setInterval(1000);
        connect(&clock_, &QTimer::timeout, &exchange_, &HttpExchange::OneSecondPassed);
    }

    void Begin(const QString& address) {
        const auto parsed = ParseCamAddress(address);
        if (!parsed || !parsed->Endpoint) {
            finish(NoPicture(FetchReason::UnusableAddress(parsed.has_value())));
            return;
        }
        clock_.start();
        exchange_.BeginFetch(address);
    }

private:
    void finish(const AddressTestOutcome& outcome) {
        clock_.stop();
        exchange_.Close();
        if (!done_)
            return;
        QMetaObject::invokeMethod(
            this, [done = std::move(done_), outcome] { done(outcome); }, Qt::QueuedConnection);
        done_ = nullptr;
    }

    FetchState state_;
    NoProgress progress_;
    HttpExchange exchange_;
    QTimer clock_;
    QSize thumbnail_;
    AddressTester::Done done_;
};

} // namespace

ExchangeAddressTester::ExchangeAddressTester(SocketMaker sockets)
    : sockets_(std::move(sockets)) {}

void ExchangeAddressTester::SetPasswordLookup(CamSignIn::PasswordLookup lookup) {
    passwords_ = std::move(lookup);
}

std::unique_ptr<AddressTest> ExchangeAddressTester::Test(const QString& address, QSize thumbnail,
                                                         Done done) {
    auto test = std::make_unique<ExchangeTest>(sockets_, passwords_, thumbnail, std::move(done));
    test->Begin(address);
    return test;
}

// The same steps as a panel's arrival, without showing or saving anything.
AddressTestOutcome OutcomeOfResponse(const QString& header, QByteArray body,
                                     const QString& endingReason, QSize thumbnail) {
    AddressTestOutcome outcome;
    outcome.Reason = endingReason.isEmpty() ? FetchReason::HttpStatus(header) : endingReason;
    if (!IsPictureHeader(header)) {
        if (outcome.Reason.isEmpty())
            outcome.Reason = FetchReason::NotAPicture(header);
        return outcome;
    }
    if (!DecodeContent(header, body, HttpExchange::MaxResponseBytes))
        return NoPicture(FetchReason::TooLarge());
    const PictureObject picture = PictureObject::Load(body, thumbnail);
    if (picture.isNull()) {
        if (outcome.Reason.isEmpty())
            outcome.Reason = FetchReason::PictureUnreadable();
        return outcome;
    }
    outcome.Thumbnail = FittedThumbnail(picture, thumbnail);
    outcome.PictureSize = picture.size();
    outcome.Bytes = body.size();
    outcome.ContentType =
        FieldValue(header, QLatin1String("Content-Type")).section(u';', 0, 0).trimmed();
    return outcome;
}
