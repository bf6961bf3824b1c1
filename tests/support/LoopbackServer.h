#pragma once
// A small HTTP server on 127.0.0.1 that answers GET requests from a table of paths.
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QTcpServer>

struct Answer {
    int status = 200;
    QByteArray body;
    bool silent = false;  // accept the request and never answer
};

class LoopbackServer : public QTcpServer {
public:
    LoopbackServer();
    QString base() const;  // "http://127.0.0.1:<port>"
    void serve(const QString& path, const Answer& answer) { m_answers[path] = answer; }
    int requests(const QString& path) const { return m_requests.value(path); }

private:
    void answer(QTcpSocket* socket);

    QMap<QString, Answer> m_answers;
    QMap<QString, int> m_requests;
    QHash<QTcpSocket*, QByteArray> m_received;
};
