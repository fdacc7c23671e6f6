#pragma once

// HTTP byte for byte, as the tests need it: what an ordinary client would tidy before sending,
// or the peer address it would not choose (any of 127.0.0.0/8 stands for another client).
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>

namespace kestrava::test {

struct Exchange
{
    QByteArray answer;
    bool closed = false;
    qint64 ms = 0; // until the close, or until we stopped waiting

    QByteArray body() const
    {
        const qsizetype end = answer.indexOf("\r\n\r\n");
        return end < 0 ? QByteArray() : answer.mid(end + 4);
    }
    QByteArray header(const QByteArray &name) const
    {
        for (const QByteArray &line : answer.left(answer.indexOf("\r\n\r\n")).split('\n')) {
            if (line.toLower().startsWith(name.toLower() + ':'))
                return line.mid(name.size() + 1).trimmed();
        }
        return {};
    }
};

// Sends `bytes` from `from` to 127.0.0.1:`port` and reads until the server closes the
// connection or `waitMs` pass.
inline Exchange SendRaw(quint16 port, const QByteArray &bytes,
    const QHostAddress &from = QHostAddress::LocalHost, int waitMs = 10000)
{
    QTcpSocket socket;
    Exchange e;
    if (!socket.bind(from)
        || (socket.connectToHost(QHostAddress::LocalHost, port), !socket.waitForConnected(3000)))
        return e;
    QElapsedTimer clock;
    clock.start();
    socket.write(bytes);
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < waitMs) {
        socket.waitForReadyRead(50);
        e.answer += socket.readAll();
    }
    e.answer += socket.readAll();
    e.closed = socket.state() != QAbstractSocket::ConnectedState;
    e.ms = clock.elapsed();
    return e;
}

// The upload of `store` by the editor "Editeur" with `password` in the address, as one request.
inline QByteArray UploadRequest(const QByteArray &password, const QByteArray &store)
{
    const QByteArray body
        = "--XyZ\r\nContent-Disposition: form-data; name=\"fichier\"; filename=\"R.ini\"\r\n\r\n" + store
        + "\r\n--XyZ--\r\n";
    return "POST /Vantor2027/EXPEL1.php?pseudo=Editeur&mdp=" + password
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
          "Content-Type: multipart/form-data; boundary=XyZ\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace kestrava::test
