#pragma once

#include "platform/net/ServerCertificate.h"
#include "windows/SmallDialog.h"

class QToolButton;

// "Trust This Certificate…": shows a server's certificate that a connection
// refused (its host and port, SHA-256 fingerprint, subject, issuer and
// validity) and why it was refused. Trust pins the fingerprint for that host
// and port in the user settings and closes; Cancel, Escape and the close
// control close it and change nothing.
class TrustCertificateDialog : public SmallDialog {
    Q_OBJECT
public:
    TrustCertificateDialog(const ServerCertificate& certificate, QWidget* owner = nullptr);
    ~TrustCertificateDialog() override;

signals:
    // After the fingerprint was pinned: the cam can be fetched again at once.
    void Trusted(const QString& host, quint16 port);

private:
    void valueRow(const char* captionName, const QString& caption, const char* valueName,
                  const QString& value, double top, bool twoRows = false);
    void buildFields();
    void buildButtons();
    void cmdTrust_Click();

    ServerCertificate certificate_;
    QToolButton* cmdTrust;
    QToolButton* cmdCancel;
};
