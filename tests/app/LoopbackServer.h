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
        : m_file(std::move(file)), m_name(name)
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
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = request.left(end).split('\n');
        request.clear();
        QByteArray range;
        for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("range:"))
                range = line.mid(6).trimmed();
        }
        ranges.append(range);
        const QByteArray path = lines.value(0).split(' ').value(1);

        if (mode == Mode::NotFound || path != "/models/" + m_name.toUtf8()) {
            const QByteArray page = "no such file";
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: " +
                          QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
            socket->disconnectFromHost();
            return;
        }
        qint64 from = 0;
        if (mode != Mode::IgnoreRange && range.startsWith("bytes="))
            from = range.mid(6, range.indexOf('-') - 6).toLongLong();
        const qint64 total = m_file.size();
        QByteArray head;
        if (from > 0) {
            head = "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " +
                   QByteArray::number(from) + '-' + QByteArray::number(total - 1) + '/' +
                   QByteArray::number(total) + "\r\n";
        } else {
            head = "HTTP/1.1 200 OK\r\n";
        }
        head += "Content-Type: application/octet-stream\r\nContent-Length: " +
                QByteArray::number(total - from) + "\r\nConnection: close\r\n\r\n";
        const QByteArray body = m_file.mid(from);
        switch (mode) {
        case Mode::Cut:
            socket->write(head + body.left(cutAfter));
            socket->disconnectFromHost();
            break;
        case Mode::Stall: socket->write(head + body.left(cutAfter)); break;
        default:
            socket->write(head + body);
            socket->disconnectFromHost();
            break;
        }
    }

    QTcpServer m_server;
    QByteArray m_file;
    QString m_name;
    QHash<QTcpSocket*, QByteArray> m_pending;
};
