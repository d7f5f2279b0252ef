#pragma once

// A small HTTP server on the loopback interface for the download tests: it serves one file
// below /models/, honours or ignores ranges, and can fail in the ways real servers do.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class LoopbackServer : public QObject
{
public:
    enum class Mode {
        Serve,       // the file, or the asked range of it
        IgnoreRange, // always the whole file
        Cut,         // promises the whole answer, sends `cutAfter` bytes of it and hangs up
        Stall,       // sends `cutAfter` bytes of the answer and then nothing
        NotFound     // 404
    };

    explicit LoopbackServer(QByteArray file, const QString& name)
        : m_file(std::move(file)), m_name(name.toUtf8())
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            }
        });
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("the loopback server can't listen");
    }

    QUrl baseUrl() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/models/").arg(m_server.serverPort()));
    }

    Mode mode = Mode::Serve;
    qint64 cutAfter = 0;
    // The Range header of each request (empty when it had none), in order.
    QList<QByteArray> ranges;

private:
    void answer(QTcpSocket* socket)
    {
        QByteArray& request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> lines = request.split('\n');
        request.clear();
        QByteArray range;
        for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("range:"))
                range = line.mid(6).trimmed();
        }
        ranges.append(range);
        if (mode == Mode::NotFound || lines.value(0).split(' ').value(1) != "/models/" + m_name) {
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 12\r\nConnection: close\r\n\r\n"
                "no such file");
            socket->disconnectFromHost();
            return;
        }
        const qint64 from = mode != Mode::IgnoreRange && range.startsWith("bytes=")
                                ? range.mid(6, range.indexOf('-') - 6).toLongLong()
                                : 0;
        const qint64 total = m_file.size();
        QByteArray head = from == 0
                              ? QByteArray("HTTP/1.1 200 OK\r\n")
                              : "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " +
                                    QByteArray::number(from) + '-' + QByteArray::number(total - 1) +
                                    '/' + QByteArray::number(total) + "\r\n";
        head += "Content-Type: application/octet-stream\r\nContent-Length: " +
                QByteArray::number(total - from) + "\r\nConnection: close\r\n\r\n";
        const QByteArray body = m_file.mid(from);
        const bool cut = mode == Mode::Cut || mode == Mode::Stall;
        socket->write(head + (cut ? body.left(cutAfter) : body));
        if (mode != Mode::Stall)
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_file;
    QByteArray m_name;
    QHash<QTcpSocket*, QByteArray> m_pending;
};
