#pragma once
// A small HTTP server on 127.0.0.1 that answers GET requests from a table of paths; with a TLS
// configuration it speaks HTTPS. Used as a proxy it records the full address each request asks for.
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>

struct Answer {
    int status = 200;
    QByteArray body;
    bool silent = false;    // accept the request and never answer
    QByteArray location{};  // the "Location" of a redirect
};

class LoopbackServer : public QTcpServer {
public:
    explicit LoopbackServer(const QSslConfiguration& tls = QSslConfiguration());
    QString base() const;  // "http://127.0.0.1:<port>" (or https)
    void serve(const QString& path, const Answer& answer) { m_answers[path] = answer; }
    int requests(const QString& path) const { return m_requests.value(path); }
    int allRequests() const;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void answer(QTcpSocket* socket);

    QSslConfiguration m_tls;
    QMap<QString, Answer> m_answers;
    QMap<QString, int> m_requests;
    QHash<QTcpSocket*, QByteArray> m_received;
};
