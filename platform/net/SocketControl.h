#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Why a connection failed, as far as the connection can tell.
enum class SocketFailure {
    HostNotFound,         // the host name did not resolve
    Refused,              // nobody listens on that port
    TimedOut,             // the system gave up waiting
    CertificateUntrusted, // TLS: the server's certificate could not be verified
    CertificateChanged,   // TLS: not the certificate trusted for this server before
    Other,                // anything else; the detail tells
};

// What an exchange needs of an asynchronous TCP client: connect, send, read
// what is waiting, close, and the four events a socket control raises.
// WinsockControl (TCP) and TlsSocketControl are the real ones; anything that
// feeds bytes without a network (a test, a fuzzer) can stand in for them.
class SocketControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The local port of the next connection; 0 lets the system choose.
    virtual void SetLocalPort(quint16 port) = 0;
    // Abandons the current connection, if any, and starts connecting.
    virtual void Connect(const QString& host, quint16 port) = 0;
    // Queues the bytes for sending; false when there is no open connection.
    virtual bool SendData(const QByteArray& bytes) = 0;
    // All bytes waiting to be read.
    virtual QByteArray GetData() = 0;
    // Ends the connection without raising any event; harmless when closed.
    virtual void Close() = 0;
    // The certificate the server showed on this connection, in DER form;
    // empty for a connection without TLS.
    virtual QByteArray PeerCertificate() const { return {}; }

signals:
    // The host name was resolved; connecting goes on. Optional: a control
    // that resolves nothing need not raise it.
    void HostFound();
    // A TLS control: the TCP connection is made and the handshake begins;
    // Connected follows once it is done. A control without TLS never raises it.
    void HandshakeStarted();
    // The connection is ready for the request.
    void Connected();
    // bytesTotal is the number of bytes now waiting to be read.
    void DataArrival(qint64 bytesTotal);
    // Only the peer closing the connection in order raises this.
    void PeerClosed();
    // The peer reset the connection; it is broken, the bytes announced before
    // are all that came.
    void PeerReset();
    // The connection could not be made, or broke for another reason than the
    // peer closing or resetting it; `detail` is the system's own words. No
    // other event of this connection follows.
    void Failed(SocketFailure failure, const QString& detail);
};
