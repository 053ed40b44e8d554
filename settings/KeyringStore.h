#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace QKeychain {
class Job;
}

// What the keyring said to one operation.
enum class KeyringOutcome {
    Done,     // read (with the password), written or removed
    NotFound, // the keyring answers and holds no such entry
    NoKeyring // no keyring answers: none on the session bus, locked, refused or silent
};

struct KeyringAnswer {
    KeyringOutcome Outcome = KeyringOutcome::NoKeyring;
    QString Password; // what a read found
};

// The desktop's keyring (the Secret Service, or whichever one QtKeychain
// finds) as the store of passwords that cam addresses leave out: one entry
// per user and server ("viewer@camhost:80") under the product's name.
// Every operation answers later, once, through its callback, and never while
// the call runs; the store never writes the password anywhere else.
//
// Once the keyring has failed to answer one operation (none there, locked, a
// refusal, or no answer within the answer timeout), the store takes it that
// no keyring answers for the rest of the run and answers NoKeyring at once,
// so that a keyring that hangs costs one wait, not one per cam.
class KeyringStore : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const KeyringAnswer&)>;

    explicit KeyringStore(QObject* parent = nullptr);

    // False once the keyring has failed to answer in this run.
    bool Answers() const { return answers_; }
    // How long one operation may go unanswered; 20 s unless set.
    void SetAnswerTimeout(std::chrono::milliseconds timeout) { answerTimeout_ = timeout; }

    void Read(const QString& server, const QString& user, Done done);
    void Write(const QString& server, const QString& user, const QString& password, Done done);
    // Removing an entry the keyring does not hold is Done.
    void Remove(const QString& server, const QString& user, Done done);

    // The entry's name in the keyring: "user@host:port".
    static QString EntryKey(const QString& server, const QString& user);

private:
    void run(QKeychain::Job* job, const QString& server, const QString& user, Done done);
    void answer(const KeyringAnswer& answer, const Done& done);

    bool answers_ = true;
    std::chrono::milliseconds answerTimeout_{20000};
};
