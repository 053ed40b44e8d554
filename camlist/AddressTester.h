#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

// What fetching a typed address once came to: a picture, or the reason
// there is none, in the words a panel uses.
struct AddressTestOutcome {
    QString Reason; // empty when a picture came
    QImage Thumbnail;
    QSize PictureSize;
    qint64 Bytes = 0; // the picture's
    QString ContentType;
};

// "640 × 480, 23 KB, image/jpeg" for a picture; the reason otherwise.
QString AddressTestSummary(const AddressTestOutcome& outcome);

// A test under way; letting it go abandons it, and its outcome never comes.
class AddressTest {
public:
    virtual ~AddressTest() = default;
};

// What the add and edit dialogs need to try an address before it is saved:
// one fetch, as a panel makes it, that writes nothing. The panels' side
// implements it; the dialogs know nothing else of fetching.
class AddressTester {
public:
    using Done = std::function<void(const AddressTestOutcome&)>;
    // Starts fetching; `done` is called once, later, unless the test is let go
    // first. The thumbnail fits `thumbnail`.
    virtual std::unique_ptr<AddressTest> Test(const QString& address, QSize thumbnail,
                                              Done done) = 0;

protected:
    ~AddressTester() = default;
};
