// A small HTTP server on 127.0.0.1 for tests: answers every GET with a tiny
// page and records the paths asked for.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class HttpServer {
public:
    HttpServer();   // listens on a free port of 127.0.0.1
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    unsigned short port() const { return m_port; }
    std::wstring Url(const std::wstring& path) const;
    // The request paths so far, in order.
    std::vector<std::string> Requests();
    bool WasRequested(const std::string& path);

private:
    static DWORD WINAPI Serve(LPVOID self);
    SOCKET m_listen = INVALID_SOCKET;
    unsigned short m_port = 0;
    HANDLE m_thread = nullptr;
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_requests;
    volatile LONG m_stop = 0;
};

} // namespace testing_support
