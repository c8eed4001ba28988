#pragma once
// A plain-HTTP peer on a thread of its own, for replies that must go on while the test's thread is
// kept busy: it reads each request, answers with a fixed head and then repeats a chunk until the
// client hangs up. It counts what the client let it put on the wire and tells when the client has
// stopped taking anything (the socket's buffers are full).

#include <QByteArray>
#include <QUrl>

#include <atomic>
#include <thread>

namespace tolvane::test {

class PouringPeer {
public:
    PouringPeer(QByteArray head, QByteArray chunk);
    ~PouringPeer(); // ends the thread
    PouringPeer(const PouringPeer&) = delete;
    PouringPeer& operator=(const PouringPeer&) = delete;

    QUrl url(const QString& path) const;
    qint64 sent() const { return sent_; } // body bytes written, over every connection
    int hangUps() const { return hangUps_; } // connections the client closed
    bool stalled() const { return stalled_; } // nothing could be written for a while

private:
    void run();
    void serve(int connection);

    QByteArray head_;
    QByteArray chunk_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stop_ {false};
    std::atomic<qint64> sent_ {0};
    std::atomic<int> hangUps_ {0};
    std::atomic<bool> stalled_ {false};
    std::thread thread_;
};

} // namespace tolvane::test
