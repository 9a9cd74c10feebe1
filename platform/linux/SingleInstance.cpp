#include "platform/linux/SingleInstance.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Main";
constexpr const char* showRequest = "show\n";
constexpr int answerWaitMs = 2000;
// How long a launch waits for an instance that holds the lock to answer: it listens a moment
// after taking the lock, so only a stuck instance takes this long.
constexpr int electionWaitMs = 5000;
constexpr unsigned long retryMs = 50;

bool peerIsUs(qintptr socket) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
    return credentials.uid == geteuid();
}

}  // namespace

SingleInstance::SingleInstance(const std::optional<std::string>& directory) {
    if (!directory) {
        Log::write(component, "No private directory: other launches are not detected");
        return;
    }
    const std::string lockPath = *directory + "/instance.lock";
    const std::string socketPath = *directory + "/instance";
    lockFd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (lockFd_ < 0) {
        Log::write(component,
                   "Cannot open " + lockPath + " (" + std::strerror(errno) + "): other launches are not detected");
        return;
    }
    QElapsedTimer waited;
    waited.start();
    bool reportedStranger = false;
    for (;;) {
        if (flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            role_ = Role::elected;
            listen(socketPath);
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            Log::write(component,
                       "Cannot lock " + lockPath + " (" + std::strerror(errno) + "): other launches are not detected");
            return;
        }
        // The lock is taken, so an instance of ours lives (or is quitting, and the lock is
        // ours at the next turn).
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketPath));
        if (socket.waitForConnected(answerWaitMs)) {
            if (peerIsUs(socket.socketDescriptor())) {
                socket.write(showRequest);
                socket.waitForBytesWritten(answerWaitMs);
                socket.disconnectFromServer();
                role_ = Role::handedOver;
                return;
            }
            if (!reportedStranger) Log::write(component, "Not asking " + socketPath + ": it is another user's");
            reportedStranger = true;
        }
        if (waited.elapsed() > electionWaitMs) {
            Log::write(component, "Solvara is already running but does not answer");
            role_ = Role::unanswered;
            return;
        }
        QThread::msleep(retryMs);
    }
}

SingleInstance::~SingleInstance() {
    server_.reset();
    if (lockFd_ >= 0) close(lockFd_);
}

void SingleInstance::onShowRequest(std::function<void()> handler) {
    *showHandler_ = std::move(handler);
}

void SingleInstance::listen(const std::string& socketPath) {
    // Under the lock, whatever is at the path was left by an instance that has ended (or put
    // there by someone else): it is ours to replace.
    unlink(socketPath.c_str());
    server_ = std::make_unique<QLocalServer>();
    // The directory is closed to others already; the socket file's own mode adds nothing.
    server_->setSocketOptions(QLocalServer::NoOptions);
    if (!server_->listen(QString::fromStdString(socketPath))) {
        Log::write(component,
                   "Cannot listen for other launches at " + socketPath + ": " + server_->errorString().toStdString());
        server_.reset();
        return;
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, handler = showHandler_] {
        while (QLocalSocket* connection = server->nextPendingConnection()) {
            QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
            if (!peerIsUs(connection->socketDescriptor())) {
                Log::write(component, "Refused a connection from another user");
                connection->abort();
                connection->deleteLater();
                continue;
            }
            const auto consume = [handler, connection] {
                if (!connection->readAll().contains("show")) return;
                Log::write(component, "Another launch asked for the main window");
                if (*handler) (*handler)();
            };
            QObject::connect(connection, &QLocalSocket::readyRead, connection, consume);
            consume();  // the request may have arrived with the connection
        }
    });
}

}  // namespace solvara
