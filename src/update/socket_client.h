#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

namespace kestrix::update {

// A TCP client with the operations and events of the Winsock control the update check was
// designed around. Every event arrives through the event loop, never from inside an operation.
// Only the peer's close raises Close; the program's own Close raises nothing, and no event of
// a connection reaches the program after its Close. A reset, which Qt reports as an ordinary end
// of the connection, raises Error 10054 and no Close.
class SocketClient : public QObject {
    Q_OBJECT
public:
    explicit SocketClient(QObject* parent = nullptr);

    // Ends any connection or pending connection; nothing when closed already.
    void Close();
    // Starts resolving and connecting and returns at once; any earlier connection is closed.
    void Connect(const QString& remoteHost, quint16 remotePort);
    // Queues the text for sending, one byte per character.
    void SendData(const QString& text);
    // Everything received and not taken yet, one character per byte.
    [[nodiscard]] QString GetData();

    // Winsock's number for "wrong protocol or connection state", raised by a send while closed.
    static constexpr int notConnectedError = 40006;

    // The control's four events; named with "Event" since Connect and Close are operations too.
signals:
    void ConnectEvent();
    void DataArrivalEvent(qint64 bytesTotal);
    void CloseEvent();  // the peer closed the connection
    void ErrorEvent(int number, const QString& description);

protected:
    // Looks at the socket's pending error before Qt reads the socket, which would take it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    // Raises an event from the event loop, unless the connection it belongs to is closed by then.
    template <typename Raise>
    void post(Raise raise);
    void raiseError(int number);

    QTcpSocket socket_;
    QByteArray received_;
    quint64 connection_ = 0;  // grows with every Close: events of older connections are dropped
    bool errorRaised_ = false;
    int pendingError_ = 0;  // taken before Qt read to the end: raised when the connection ends
};

// The Winsock description of an error, without a full stop.
[[nodiscard]] QString winsockDescription(int number);

// The Winsock number of an error Qt reports. Qt folds several causes into NetworkError and tells
// them apart only by its own description, which is passed along.
[[nodiscard]] int winsockNumber(QAbstractSocket::SocketError error, const QString& qtDescription);

}  // namespace kestrix::update
