// A small HTTP server inside the end-to-end driver, on 127.0.0.1 only, for tests of the program's downloads. It
// answers each request with the next scripted answer (a status, a redirect and a body, sent at once or a byte a
// second, or silence until the server stops), keeps
// the head of every request it received, and stops with its object: every socket it opened is closed then.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"

namespace e2e {

class HttpServer {
public:
    struct Answer {
        int status = 200;
        std::string body;
        bool stall = false;  // read the request, then answer nothing and keep the connection open
        std::string location = "";  // sent as the Location header (with a 3xx status)
        bool slow = false;          // the body one byte a second, until it is all sent or the client goes
    };

    // Listens on the port (0: one the system picks). Valid() tells whether it does.
    explicit HttpServer(unsigned short port = 0);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool Valid() const { return listener_ != INVALID_SOCKET; }
    unsigned short Port() const { return port_; }
    std::wstring Host() const { return L"http://127.0.0.1:" + std::to_wstring(port_); }

    // Answers in order; when none is left, 404.
    void Queue(Answer answer);
    // The head (request line and headers) of every request received so far.
    std::vector<std::string> Requests();
    bool WaitForRequests(std::size_t count, Duration timeout = kDefaultTimeout);

    // A loopback port on which nothing listens (at the moment of asking).
    static unsigned short UnusedPort();

private:
    void Serve();
    void HandleConnection(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<Answer> answers_;
    std::vector<std::string> requests_;
    std::vector<SOCKET> stalled_;
    std::thread thread_;
};

}  // namespace e2e
