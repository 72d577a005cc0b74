#include "http_server.h"

#include <algorithm>

namespace testing_support {

HttpServer::HttpServer()
{
    ::InitializeCriticalSection(&m_lock);
    WSADATA wsa;
    ::WSAStartup(MAKEWORD(2, 2), &wsa);
    m_listen = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    int len = sizeof addr;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    ::listen(m_listen, 16);
    m_thread = ::CreateThread(nullptr, 0, Serve, this, 0, nullptr);
}

HttpServer::~HttpServer()
{
    ::InterlockedExchange(&m_stop, 1);
    ::closesocket(m_listen);
    ::WaitForSingleObject(m_thread, 5000);
    ::CloseHandle(m_thread);
    ::DeleteCriticalSection(&m_lock);
    ::WSACleanup();
}

std::wstring HttpServer::Url(const std::wstring& path) const
{
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
}

std::vector<std::string> HttpServer::Requests()
{
    ::EnterCriticalSection(&m_lock);
    std::vector<std::string> copy = m_requests;
    ::LeaveCriticalSection(&m_lock);
    return copy;
}

bool HttpServer::WasRequested(const std::string& path)
{
    const auto r = Requests();
    return std::find(r.begin(), r.end(), path) != r.end();
}

DWORD WINAPI HttpServer::Serve(LPVOID param)
{
    auto* self = static_cast<HttpServer*>(param);
    // Bounded: the server stops with the test program or after 2000 requests.
    for (int served = 0; served < 2000 && !self->m_stop; ++served) {
        SOCKET client = ::accept(self->m_listen, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;
        std::string request;
        char buf[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = ::recv(client, buf, sizeof buf, 0);
            if (got <= 0)
                break;
            request.append(buf, static_cast<size_t>(got));
        }
        const size_t sp1 = request.find(' ');
        const size_t sp2 = sp1 == std::string::npos ? sp1 : request.find(' ', sp1 + 1);
        if (sp2 != std::string::npos) {
            ::EnterCriticalSection(&self->m_lock);
            self->m_requests.push_back(request.substr(sp1 + 1, sp2 - sp1 - 1));
            ::LeaveCriticalSection(&self->m_lock);
        }
        const std::string body = "<html><body>ok</body></html>";
        const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
        ::closesocket(client);
    }
    return 0;
}

} // namespace testing_support
