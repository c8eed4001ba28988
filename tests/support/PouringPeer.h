#pragma once
// A plain-HTTP peer on a thread of its own, for replies that must go on while the test's thread is
// kept busy: it reads each request, answers with a fixed head and then repeats a chunk until the
// client hangs up. It counts what the client let it put on the wire, and what the client took off.
// It may hold each body back until told to pour, so that a test can be busy before any arrives.

#include <QByteArray>
#include <QUrl>

#include <atomic>
#include <thread>

namespace tolvane::test {

class PouringPeer {
public:
    enum class Body { poured, held };
    PouringPeer(QByteArray head, QByteArray chunk, Body body = Body::poured);
    ~PouringPeer(); // ends the thread
    PouringPeer(const PouringPeer&) = delete;
    PouringPeer& operator=(const PouringPeer&) = delete;

    QUrl url(const QString& path) const;
    qint64 sent() const { return sent_; } // body bytes written, over every connection
    int hangUps() const { return hangUps_; } // connections the client closed
    int headsSent() const { return headsSent_; }
    void pour(); // lets a held body go, this one and every later one
    // What the client has read off its end of the connection so far, head included, as its socket
    // counts it; -1 before it connects or once its socket is gone. The client must be of this
    // process.
    qint64 takenByClient() const;

private:
    void run();
    void serve(int connection);

    QByteArray head_;
    QByteArray chunk_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<quint16> clientPort_ {0}; // the client's end of the latest connection
    std::atomic<bool> stop_ {false};
    std::atomic<bool> held_;
    std::atomic<int> headsSent_ {0};
    std::atomic<qint64> sent_ {0};
    std::atomic<int> hangUps_ {0};
    std::thread thread_;
};

} // namespace tolvane::test
