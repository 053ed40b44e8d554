#include "settings/CertificatePins.h"

#include "platform/program/AppObject.h"
#include "settings/UserSettings.h"

#include <QCryptographicHash>

namespace {

const QString Section = QStringLiteral("Certificates");

QString KeyOf(const QString& host, quint16 port) {
    const QString name = host.toLower();
    return (name.contains(QLatin1Char(':')) ? QLatin1Char('[') + name + QLatin1Char(']') : name) +
           QLatin1Char(':') + QString::number(port);
}

} // namespace

QByteArray CertificatePins::PinnedFingerprint(const QString& host, quint16 port) const {
    const QByteArray hex =
        ReadUserSetting(App::ProductName(), Section, KeyOf(host, port), QString()).toLatin1();
    const QByteArray fingerprint = QByteArray::fromHex(hex);
    const bool whole =
        fingerprint.size() == QCryptographicHash::hashLength(QCryptographicHash::Sha256) &&
        fingerprint.toHex() == hex.toLower();
    return whole ? fingerprint : QByteArray();
}

void CertificatePins::Pin(const QString& host, quint16 port, const QByteArray& fingerprint) {
    WriteUserSetting(App::ProductName(), Section, KeyOf(host, port),
                     QString::fromLatin1(fingerprint.toHex()));
}

// The settings store never deletes a value (the program's rule): an empty
// one pins nothing.
void CertificatePins::Forget(const QString& host, quint16 port) {
    WriteUserSetting(App::ProductName(), Section, KeyOf(host, port), QString());
}
