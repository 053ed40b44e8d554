#include "settings/KeyringStore.h"

#include "platform/program/AppObject.h"

#include <QTimer>

#include <memory>
#include <qt6keychain/keychain.h>

namespace {

KeyringAnswer answerOf(const QKeychain::Job& job) {
    switch (job.error()) {
    case QKeychain::NoError: {
        const auto* read = qobject_cast<const QKeychain::ReadPasswordJob*>(&job);
        return {KeyringOutcome::Done, read ? read->textData() : QString()};
    }
    case QKeychain::EntryNotFound:
        // Removing what is not there leaves the keyring as asked.
        if (qobject_cast<const QKeychain::DeletePasswordJob*>(&job))
            return {KeyringOutcome::Done, {}};
        return {KeyringOutcome::NotFound, {}};
    default:
        return {KeyringOutcome::NoKeyring, {}};
    }
}

} // namespace

KeyringStore::KeyringStore(QObject* parent)
    : QObject(parent) {}

QString KeyringStore::EntryKey(const QString& server, const QString& user) {
    return user + QLatin1Char('@') + server;
}

void KeyringStore::Read(const QString& server, const QString& user, Done done) {
    run(new QKeychain::ReadPasswordJob(App::ProductName()), server, user, std::move(done));
}

void KeyringStore::Write(const QString& server, const QString& user, const QString& password,
                         Done done) {
    auto* job = new QKeychain::WritePasswordJob(App::ProductName());
    job->setTextData(password);
    run(job, server, user, std::move(done));
}

void KeyringStore::Remove(const QString& server, const QString& user, Done done) {
    run(new QKeychain::DeletePasswordJob(App::ProductName()), server, user, std::move(done));
}

void KeyringStore::run(QKeychain::Job* job, const QString& server, const QString& user, Done done) {
    if (!answers_) {
        delete job;
        QTimer::singleShot(0, this, [this, done] {
            answer({KeyringOutcome::NoKeyring, {}}, done);
        });
        return;
    }
    // The job has no parent and deletes itself once finished: the keyring
    // library calls back into it even after the store has gone.
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never a plain-text copy in the settings
    job->setKey(EntryKey(server, user));
    auto answered = std::make_shared<bool>(false);
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer, answered, done] {
        timer->deleteLater();
        *answered = true;
        answer({KeyringOutcome::NoKeyring, {}}, done);
    });
    connect(job, &QKeychain::Job::finished, this,
            [this, timer, answered, done](QKeychain::Job* finished) {
                if (*answered)
                    return; // too late: the keyring already counts as silent
                *answered = true;
                timer->stop();
                timer->deleteLater();
                answer(answerOf(*finished), done);
            });
    timer->start(answerTimeout_);
    job->start();
}

void KeyringStore::answer(const KeyringAnswer& answer, const Done& done) {
    if (answer.Outcome == KeyringOutcome::NoKeyring)
        answers_ = false;
    if (done)
        done(answer);
}
