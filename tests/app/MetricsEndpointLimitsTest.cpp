// The metrics endpoint against clients that misbehave, over loopback with bounded loops: what it
// answers to each request, a huge request head, pipelined requests never read, idle connections,
// and a scrape among a thousand hostile connections.
#include "metrics/HttpExchange.h"
#include "metrics/MetricsEndpoint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace solvane::metrics {
namespace {

TEST(HttpExchange, AnswersEachMethodAndPath) {
    const auto metrics = [] { return std::string("solvane_up 1\n"); };
    const struct {
        const char* head;
        const char* statusLine;
        bool body;
        bool close;
    } kCases[] = {
        {"GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 200 OK", true, false},
        {"GET /metrics?x=1 HTTP/1.1\r\n\r\n", "HTTP/1.1 200 OK", true, false},
        {"HEAD /metrics HTTP/1.1\r\n\r\n", "HTTP/1.1 200 OK", false, false},
        {"GET /metrics HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK", true, true},
        {"GET /metrics HTTP/1.0\r\nConnection: keep-alive\r\n\r\n", "HTTP/1.1 200 OK", true, false},
        {"GET /metrics HTTP/1.1\r\nConnection: Close\r\n\r\n", "HTTP/1.1 200 OK", true, true},
        {"POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\n", "HTTP/1.1 405 Method Not Allowed", false,
         true},
        {"DELETE /metrics HTTP/1.1\r\n\r\n", "HTTP/1.1 405 Method Not Allowed", false, false},
        {"GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found", false, false},
    };
    for (const auto& c : kCases) {
        const auto request = parseRequestHead(c.head);
        ASSERT_TRUE(request) << c.head;
        const auto answer = answerRequest(*request, metrics);
        EXPECT_TRUE(answer.bytes.starts_with(std::string(c.statusLine) + "\r\n")) << c.head << answer.bytes;
        EXPECT_EQ(answer.bytes.ends_with("\r\n\r\nsolvane_up 1\n"), c.body) << c.head << answer.bytes;
        EXPECT_EQ(answer.close, c.close) << c.head;
        // HEAD announces the length GET would send.
        if (request->method == "HEAD") {
            EXPECT_NE(answer.bytes.find("Content-Length: 13\r\n"), std::string::npos) << answer.bytes;
        }
        if (std::string(c.statusLine).find("405") != std::string::npos) {
            EXPECT_NE(answer.bytes.find("Allow: GET, HEAD\r\n"), std::string::npos) << answer.bytes;
        }
    }
    for (const char* bad : {"GET\r\n\r\n", "GET /metrics\r\n\r\n", "GET /metrics SPDY/3\r\n\r\n", "\r\n"})
        EXPECT_FALSE(parseRequestHead(bad)) << bad;
    EXPECT_EQ(requestHeadEnd("GET / HTTP/1.1\r\nA: b\r\n\r\nGET"), 24U);
    EXPECT_EQ(requestHeadEnd("GET / HTTP/1.1\nA: b\n\nGET"), 21U);
    EXPECT_FALSE(requestHeadEnd("GET / HTTP/1.1\r\nA: b\r\n"));
    EXPECT_TRUE(errorAnswer(431).bytes.starts_with("HTTP/1.1 431 Request Header Fields Too Large\r\n"));
}

// Runs the event loop until done() or the bound runs out.
template <typename Done> bool processUntil(Done done, int boundMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < boundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

class EndpointLimits : public ::testing::Test {
protected:
    void start(MetricsEndpoint::Limits limits, std::string text = "solvane_up 1\n") {
        m_endpoint = std::make_unique<MetricsEndpoint>(
            [this, text] {
                ++m_answers;
                return text;
            },
            limits);
        std::string error;
        m_port = m_endpoint->listen({"127.0.0.1", 0}, error);
        ASSERT_NE(m_port, 0) << error;
    }
    std::unique_ptr<QTcpSocket> connect() {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, m_port);
        return socket;
    }
    // A well-behaved scrape: its answer's status line, or nothing.
    std::string scrape() {
        auto socket = connect();
        socket->write("GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        processUntil([&] {
            answer += socket->readAll();
            return answer.contains("\r\n\r\n");
        });
        return answer.left(answer.indexOf("\r\n")).toStdString();
    }

    std::unique_ptr<MetricsEndpoint> m_endpoint;
    quint16 m_port = 0;
    int m_answers = 0;
};

TEST_F(EndpointLimits, AHugeRequestHeadIsRefusedWithoutBeingKept) {
    start({});
    auto socket = connect();
    const QByteArray line = "X-Filler: " + QByteArray(1000, 'a') + "\r\n";
    socket->write("GET /metrics HTTP/1.1\r\n");
    for (int i = 0; i < 1000; ++i) // a megabyte of header, never ended
        socket->write(line);
    QByteArray answer;
    // The endpoint answers 431 and closes; closing on bytes it never read resets the connection,
    // which may cost the client the answer.
    EXPECT_TRUE(processUntil([&] {
        answer += socket->readAll();
        return socket->state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_TRUE(answer.isEmpty() || answer.startsWith("HTTP/1.1 431 ")) << answer.left(100).toStdString();
    EXPECT_TRUE(processUntil([&] { return m_endpoint->connectionCount() == 0; }));
    EXPECT_EQ(m_answers, 0);
    EXPECT_EQ(scrape(), "HTTP/1.1 200 OK");
}

// A client pipelines requests and never reads: the endpoint stops answering once its answers
// wait unread, instead of queueing every one; when the client reads, every answer comes.
TEST_F(EndpointLimits, PipelinedRequestsNeverReadAreNotQueuedWithoutEnd) {
    constexpr int kRequests = 2000;
    start({}, std::string(64 * 1024, 'x'));
    auto socket = connect();
    socket->setReadBufferSize(1); // the client reads (nearly) nothing
    QByteArray requests;
    for (int i = 0; i < kRequests; ++i)
        requests += "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    socket->write(requests);
    int settled = -1;
    processUntil([&] {
        const bool still = settled == m_answers;
        settled = m_answers;
        return still && socket->bytesToWrite() == 0;
    });
    processUntil([] { return false; }, 300);
    EXPECT_LT(m_answers, kRequests / 4) << "the endpoint queued answers nobody reads";
    EXPECT_GT(m_answers, 0);

    socket->setReadBufferSize(0);
    qint64 received = 0;
    processUntil(
        [&] {
            received += socket->readAll().size();
            return m_answers == kRequests && socket->bytesAvailable() == 0 &&
                   received > kRequests * 64 * 1024;
        },
        20000);
    EXPECT_EQ(m_answers, kRequests);
}

TEST_F(EndpointLimits, IdleConnectionsAreClosed) {
    start({.connections = 64, .idle = std::chrono::milliseconds(100), .queuedBytes = 64 * 1024});
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < 5; ++i)
        idle.push_back(connect());
    // One request begun and never finished is idle too.
    idle.back()->write("GET /metrics HTTP/1.1\r\n");
    ASSERT_TRUE(processUntil([&] { return m_endpoint->connectionCount() == 5; }));
    EXPECT_TRUE(processUntil([&] { return m_endpoint->connectionCount() == 0; }, 3000));
    for (const auto& socket : idle)
        EXPECT_TRUE(processUntil([&] { return socket->state() == QAbstractSocket::UnconnectedState; }, 1000));
}

// A thousand connections that send nothing: the endpoint keeps no more than its limit and a
// well-behaved scrape among them is answered.
TEST_F(EndpointLimits, AScrapeIsAnsweredAmongAThousandHostileConnections) {
    start({});
    std::vector<std::unique_ptr<QTcpSocket>> hostile;
    for (int i = 0; i < 1000; ++i) {
        hostile.push_back(connect());
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    processUntil([&] {
        return std::all_of(hostile.begin(), hostile.end(), [](const auto& s) {
            return s->state() != QAbstractSocket::ConnectingState &&
                   s->state() != QAbstractSocket::HostLookupState;
        });
    });
    processUntil([] { return false; }, 200);
    EXPECT_LE(m_endpoint->connectionCount(), MetricsEndpoint::Limits{}.connections);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scrape(), "HTTP/1.1 200 OK") << "scrape " << i;
}

} // namespace
} // namespace solvane::metrics
