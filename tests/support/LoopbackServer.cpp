#include "LoopbackServer.h"

#include <QSslSocket>
#include <QTcpSocket>

#include <numeric>

LoopbackServer::LoopbackServer(const QSslConfiguration& tls) : m_tls(tls)
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LoopbackServer::base() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls.isNull() ? "http" : "https").arg(serverPort());
}

int LoopbackServer::allRequests() const
{
    return std::accumulate(m_requests.cbegin(), m_requests.cend(), 0);
}

void LoopbackServer::incomingConnection(qintptr descriptor)
{
    if (m_tls.isNull()) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    socket->setSslConfiguration(m_tls);
    socket->setSocketDescriptor(descriptor);
    socket->startServerEncryption();
    addPendingConnection(socket);
}

void LoopbackServer::answer(QTcpSocket* socket)
{
    QByteArray& received = m_received[socket];
    received += socket->readAll();
    const qsizetype headerEnd = received.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> requestLine = received.left(received.indexOf("\r\n")).split(' ');
    m_received.remove(socket);
    const QString path = requestLine.size() > 1 ? QString::fromUtf8(requestLine.at(1)) : QString();
    ++m_requests[path];
    const Answer reply = m_answers.value(path, Answer{404, "not found"});
    if (reply.silent)
        return;
    socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " Status\r\nContent-Type: application/octet-stream\r\n" +
                  (reply.location.isEmpty() ? QByteArray() : "Location: " + reply.location + "\r\n") +
                  "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body);
    socket->disconnectFromHost();
}
