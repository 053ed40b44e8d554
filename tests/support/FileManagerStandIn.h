#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the desktop's file manager while it lives: the folders the
// program asks to open are collected instead of opened.
class FileManagerStandIn : public QObject {
    Q_OBJECT
public:
    FileManagerStandIn();
    ~FileManagerStandIn() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};
