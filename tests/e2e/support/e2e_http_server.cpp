#include "e2e_http_server.h"

#include <ws2tcpip.h>

namespace e2e {

namespace {

constexpr DWORD kSocketTimeoutMs = 2000;  // one request's head must arrive within this
constexpr long kAcceptPollUs = 50000;
constexpr std::size_t kMaxHead = 16384;

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};

void EnsureWinsock() { static WinsockUser user; }

const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

void SendAll(SOCKET s, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

sockaddr_in Loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

}  // namespace

HttpServer::HttpServer(unsigned short port) {
    EnsureWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in address = Loopback(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, SOMAXCONN) != 0) {
        closesocket(s);
        return;
    }
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listener_ = s;
    thread_ = std::thread([this] { Serve(); });
}

HttpServer::~HttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    for (SOCKET s : stalled_) closesocket(s);
}

unsigned short HttpServer::UnusedPort() {
    EnsureWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return ntohs(address.sin_port);
}

void HttpServer::Queue(Answer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(std::move(answer));
}

std::vector<std::string> HttpServer::Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool HttpServer::WaitForRequests(std::size_t count, Duration timeout) {
    return WaitUntil([&] { return Requests().size() >= count; }, timeout);
}

void HttpServer::Serve() {
    while (!stop_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{0, kAcceptPollUs};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client != INVALID_SOCKET) HandleConnection(client);
    }
}

void HttpServer::HandleConnection(SOCKET client) {
    DWORD timeout = kSocketTimeoutMs;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string head;
    char buf[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
        int n = recv(client, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, static_cast<std::size_t>(n));
    }
    Answer answer{404, "not here", false};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head);
        if (!answers_.empty()) {
            answer = std::move(answers_.front());
            answers_.pop_front();
        }
        if (answer.stall) {
            stalled_.push_back(client);
            return;
        }
    }
    const std::string answer_head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) +
                       "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(answer.body.size()) +
                       (answer.location.empty() ? "" : "\r\nLocation: " + answer.location) +
                       "\r\nConnection: close\r\n\r\n";
    if (!answer.slow) {
        SendAll(client, answer_head + answer.body);
    } else {
        SendAll(client, answer_head);
        for (char c : answer.body) {
            if (stop_ || send(client, &c, 1, 0) != 1) break;
            Sleep(1000);
        }
    }
    shutdown(client, SD_SEND);
    closesocket(client);
}

}  // namespace e2e
