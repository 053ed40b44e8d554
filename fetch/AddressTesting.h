#pragma once

#include "camlist/AddressTester.h"
#include "fetch/CamSignIn.h"
#include "fetch/ExchangeSockets.h"

// Tries typed addresses with the exchange the panels fetch with: redirects,
// sign-in with the passwords the panels know, https and streams alike. A
// test writes nothing: its body is read from memory, and a password it
// lacks is not asked for. Silence is given up after the longest answer wait
// of a panel.
class ExchangeAddressTester : public AddressTester {
public:
    explicit ExchangeAddressTester(SocketMaker sockets = MakeSocket);

    void SetPasswordLookup(CamSignIn::PasswordLookup lookup);

    std::unique_ptr<AddressTest> Test(const QString& address, QSize thumbnail, Done done) override;

private:
    SocketMaker sockets_;
    CamSignIn::PasswordLookup passwords_;
};

// What a complete response comes to as a test's outcome: the reason the
// panel would give, the picture's size, bytes and type, and its thumbnail
// fitted into `thumbnail`. `body` is the response's body, split from its header.
AddressTestOutcome OutcomeOfResponse(const QString& header, QByteArray body,
                                     const QString& endingReason, QSize thumbnail);
