// A tiny update server for trying the update check by hand: it answers
// GET /kestrix/version.html with a page ending in "Latest Version: " and the version given,
// and GET /kestrix/kestrix.zip with an empty zip archive.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>

namespace {

constexpr qsizetype maxRequestBytes = 16 * 1024;

QByteArray response(const QByteArray& status, const QByteArray& type, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// An empty zip archive: only the end-of-central-directory record.
QByteArray emptyZip() {
    QByteArray zip("PK\x05\x06", 4);
    zip.append(18, '\0');
    return zip;
}

QByteArray answer(const QByteArray& requestLine, const QByteArray& version) {
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || parts[0] != "GET") {
        return response("400 Bad Request", "text/plain", "Bad request\n");
    }
    if (parts[1] == "/kestrix/version.html") {
        // The version is the page's very last text: nothing may follow it.
        return response("200 OK", "text/html",
                        "<html><head><title>Kestrix</title></head><body>\r\n"
                        "<p>The latest release of Kestrix.</p>\r\n"
                        "Latest Version: " +
                            version);
    }
    if (parts[1] == "/kestrix/kestrix.zip") {
        return response("200 OK", "application/zip", emptyZip());
    }
    return response("404 Not Found", "text/plain", "Not found\n");
}

class UpdateServer : public QObject {
public:
    UpdateServer(QByteArray version, QTextStream& log) : version_(std::move(version)), log_(log) {
        connect(&server_, &QTcpServer::newConnection, this, &UpdateServer::accept);
    }

    bool listen(quint16 port) { return server_.listen(QHostAddress::Any, port); }
    [[nodiscard]] QString errorString() const { return server_.errorString(); }

private:
    void accept() {
        while (QTcpSocket* client = server_.nextPendingConnection()) {
            client->setParent(this);
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QTcpSocket::readyRead, client, [this, client] { read(client); });
        }
    }

    void read(QTcpSocket* client) {
        QByteArray request = client->property("request").toByteArray() + client->readAll();
        if (request.size() > maxRequestBytes) {
            client->abort();
            return;
        }
        client->setProperty("request", request);
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        const QByteArray requestLine = request.left(request.indexOf("\r\n"));
        log_ << client->peerAddress().toString() << ' ' << requestLine << Qt::endl;
        disconnect(client, &QTcpSocket::readyRead, nullptr, nullptr);  // one answer per connection
        client->write(answer(requestLine, version_));
        client->disconnectFromHost();
    }

    QTcpServer server_;
    QByteArray version_;
    QTextStream& log_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-update-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Answers Kestrix's update check with the version given."));
    parser.addHelpOption();
    const QCommandLineOption portOption({QStringLiteral("p"), QStringLiteral("port")},
                                        QStringLiteral("TCP port to listen on (default 80)."),
                                        QStringLiteral("port"), QStringLiteral("80"));
    parser.addOption(portOption);
    parser.addPositionalArgument(QStringLiteral("version"),
                                 QStringLiteral("The latest version to announce, e.g. 1.2.0."));
    parser.process(application);

    QTextStream err(stderr);
    const QStringList positional = parser.positionalArguments();
    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (positional.size() != 1 || positional[0].isEmpty() || !portOk || port > 65535) {
        err << "usage: update-server [--port PORT] VERSION" << Qt::endl;
        return 2;
    }

    UpdateServer server(positional[0].toUtf8(), err);
    if (!server.listen(static_cast<quint16>(port))) {
        err << "update-server: cannot listen on port " << port << ": " << server.errorString()
            << Qt::endl;
        return 1;
    }
    err << "update-server: announcing Latest Version: " << positional[0] << " on port " << port
        << Qt::endl;
    return QCoreApplication::exec();
}
