// The device's socket library as the socket layer binds it: module names, the table, the
// device's semantics and error codes, and the library's own address-information routines.
#include <unistd.h>

#include <cstring>

#include "net/own_address_info.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/winsock.h"
#include "tests/net/http_test_server.h"
#include "tests/net/net_fixture.h"

namespace tqtest {
namespace {

using namespace ce;
using tq::net::SocketLayer;

const tq::net::SocketEntries& T() { return SocketLayer::Entries(); }

TEST_F(NetTest, TheDeviceLibraryIsWs2WithAllThirtySixEntries) {
  ASSERT_TRUE(StartLayer());
  EXPECT_EQ(SocketLayer::LoadedModuleName(), u"Ws2.dll");
  EXPECT_FALSE(SocketLayer::UsesOwnAddressInfo());
  HMODULE module = LoadLibraryW(u"ws2");
  ASSERT_NE(module, nullptr);
  for (const char* name : {"accept", "select", "__WSAFDIsSet", "WSASetServiceW", "getaddrinfo",
                           "freeaddrinfo", "getnameinfo", "inet_ntoa", "WSALookupServiceEnd"}) {
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  }
  FreeLibrary(module);
  EXPECT_NE(T().WSAFDIsSet, nullptr);
  EXPECT_NE(T().WSALookupServiceNextW, nullptr);
}

TEST_F(NetTest, ADeviceWithoutWs2UsesWinsock) {
  NetworkSettings settings;
  settings.socketLibrary = u"Winsock.dll";
  UseSettings(settings);
  ASSERT_TRUE(StartLayer());
  EXPECT_EQ(SocketLayer::LoadedModuleName(), u"Winsock.dll");
  EXPECT_NE(T().socket, nullptr);
}

TEST_F(NetTest, ADeviceWithoutSocketLibraryCannotStartTheService) {
  NetworkSettings settings;
  settings.socketLibrary.clear();
  UseSettings(settings);
  tq::net::NetFailure failure;
  EXPECT_FALSE(StartLayer(&failure));
  EXPECT_EQ(failure.messageId, 28905u);
  EXPECT_EQ(failure.systemCode, ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(T().socket, nullptr);
}

TEST_F(NetTest, InitialisationIsCounted) {
  ASSERT_TRUE(StartLayer());
  ASSERT_TRUE(StartLayer());
  SocketLayer::Release();
  --started_;
  EXPECT_NE(T().socket, nullptr);  // one user left
  const SOCKET s = T().socket(WS_AF_INET, WS_SOCK_STREAM, 0);
  EXPECT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(T().closesocket(s), 0);
}

TEST_F(NetTest, CallsBeforeStartupFailAsNotInitialised) {
  EXPECT_EQ(winsock::socket(WS_AF_INET, WS_SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(GetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(winsock::WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(winsock::WS_htons(0x1234), 0x3412);  // byte order needs no service
  WSADATA data;
  EXPECT_EQ(winsock::WSAStartup(0x0000, &data), static_cast<int>(WSAVERNOTSUPPORTED));
  ASSERT_EQ(winsock::WSAStartup(0x0303, &data), 0);
  EXPECT_EQ(data.wVersion, 0x0202);
  EXPECT_EQ(winsock::WSACleanup(), 0);
}

TEST_F(NetTest, OnlySocketsAreClosedAndSelected) {
  ASSERT_TRUE(StartLayer());
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  EXPECT_EQ(T().closesocket(static_cast<SOCKET>(pipeEnds[0])), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAENOTSOCK);
  EXPECT_EQ(write(pipeEnds[1], "x", 1), 1);  // still open
  char c;
  EXPECT_EQ(read(pipeEnds[0], &c, 1), 1);
  close(pipeEnds[0]);
  close(pipeEnds[1]);

  WS_fd_set set{};
  set.fd_count = 1;
  set.fd_array[0] = 999999;
  EXPECT_EQ(T().select(0, &set, nullptr, nullptr, nullptr), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAENOTSOCK);
  WS_fd_set empty{};
  const WS_timeval zero{0, 0};
  EXPECT_EQ(T().select(0, &empty, nullptr, nullptr, &zero), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAEINVAL);
}

TEST_F(NetTest, SelectRewritesTheDeviceFdSet) {
  ASSERT_TRUE(StartLayer());
  HttpTestServer server({Send("hi"), WaitForPeerClose()});
  HttpTestServer quiet({WaitForPeerClose()});
  auto open = [&](uint16_t port) {
    const SOCKET s = T().socket(WS_AF_INET, WS_SOCK_STREAM, 0);
    WS_sockaddr_in to{};
    to.sin_family = WS_AF_INET;
    to.sin_port = T().htons(port);
    to.sin_addr.s_addr = T().inet_addr("127.0.0.1");
    EXPECT_EQ(T().connect(s, reinterpret_cast<WS_sockaddr*>(&to), sizeof to), 0);
    T().send(s, "GET / HTTP/1.1\r\n\r\n", 18, 0);
    return s;
  };
  const SOCKET talking = open(server.port());
  const SOCKET silent = open(quiet.port());
  WS_fd_set set{};
  set.fd_count = 2;
  set.fd_array[0] = silent;
  set.fd_array[1] = talking;
  const WS_timeval wait{2, 0};
  ASSERT_EQ(T().select(0, &set, nullptr, nullptr, &wait), 1);
  EXPECT_EQ(set.fd_count, 1u);
  EXPECT_EQ(set.fd_array[0], talking);
  EXPECT_TRUE(T().WSAFDIsSet(talking, &set));
  EXPECT_FALSE(T().WSAFDIsSet(silent, &set));

  WS_u_long pending = 0;
  EXPECT_EQ(T().ioctlsocket(talking, WS_FIONREAD, &pending), 0);
  EXPECT_EQ(pending, 2u);
  WS_u_long on = 1;
  EXPECT_EQ(T().ioctlsocket(silent, WS_FIONBIO, &on), 0);
  char buffer[8];
  EXPECT_EQ(T().recv(silent, buffer, sizeof buffer, 0), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAEWOULDBLOCK);
  EXPECT_EQ(T().ioctlsocket(silent, 0x12345, &on), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAEINVAL);

  const DWORD timeout = 1500;
  EXPECT_EQ(T().setsockopt(talking, WS_SOL_SOCKET, WS_SO_RCVTIMEO,
                           reinterpret_cast<const char*>(&timeout), 4),
            0);
  DWORD readBack = 0;
  int length = 4;
  EXPECT_EQ(T().getsockopt(talking, WS_SOL_SOCKET, WS_SO_RCVTIMEO,
                           reinterpret_cast<char*>(&readBack), &length),
            0);
  EXPECT_EQ(readBack, 1500u);
  EXPECT_EQ(T().setsockopt(talking, 1 /* the host's SOL_SOCKET */, 2, "\1\0\0\0", 4),
            SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAENOPROTOOPT);

  WS_sockaddr_in peer{};
  int peerLength = 8;
  EXPECT_EQ(T().getpeername(talking, reinterpret_cast<WS_sockaddr*>(&peer), &peerLength),
            SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAEFAULT);
  peerLength = sizeof peer;
  EXPECT_EQ(T().getpeername(talking, reinterpret_cast<WS_sockaddr*>(&peer), &peerLength), 0);
  EXPECT_EQ(T().ntohs(peer.sin_port), server.port());
  EXPECT_STREQ(T().inet_ntoa(peer.sin_addr), "127.0.0.1");
  T().closesocket(talking);
  T().closesocket(silent);
}

TEST_F(NetTest, HostEntriesHaveTheDeviceLayout) {
  ASSERT_TRUE(StartLayer());
  const WS_hostent* entry = T().gethostbyname("127.0.0.1");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->h_addrtype, WS_AF_INET);
  EXPECT_EQ(entry->h_length, 4);
  EXPECT_EQ(std::memcmp(entry->h_addr_list[0], "\x7f\0\0\x01", 4), 0);
  EXPECT_EQ(entry->h_addr_list[1], nullptr);
  EXPECT_EQ(T().gethostbyname("no-such-host.invalid"), nullptr);
  EXPECT_EQ(GetLastError(), WSAHOST_NOT_FOUND);
  EXPECT_EQ(T().inet_addr("1.2.3"), T().htonl(0x01020003));
  EXPECT_EQ(T().inet_addr("1.2.3.4 trailing"), T().htonl(0x01020304));
  EXPECT_EQ(T().inet_addr("host"), WS_INADDR_NONE);
  char name[2];
  EXPECT_EQ(T().gethostname(name, sizeof name), SOCKET_ERROR);
  EXPECT_EQ(GetLastError(), WSAEFAULT);
}

struct AddressInfoCase {
  const char* node;
  const char* service;
  int family;
  int flags;
  int socktype;
  int expected;           // result code
  const char* firstAddress;  // dotted form of the first entry when expected is 0
};

TEST_F(NetTest, OwnAddressInfoReplacesAMissingOne) {
  NetworkSettings settings;
  settings.addressInfo = false;
  UseSettings(settings);
  ASSERT_TRUE(StartLayer());
  ASSERT_TRUE(SocketLayer::UsesOwnAddressInfo());
  EXPECT_EQ(T().getaddrinfo, &tq::net::OwnGetAddrInfo);

  const AddressInfoCase cases[] = {
      {"127.0.0.1", "8080", 0, 0, 0, 0, "127.0.0.1"},
      {"10.1.2.3", nullptr, WS_AF_INET, WS_AI_NUMERICHOST, WS_SOCK_DGRAM, 0, "10.1.2.3"},
      {nullptr, "80", 0, 0, 0, 0, "127.0.0.1"},
      {"", "80", 0, WS_AI_PASSIVE, 0, 0, "0.0.0.0"},
      {"localhost", "1", 0, 0, 0, 0, "127.0.0.1"},
      {nullptr, nullptr, 0, 0, 0, static_cast<int>(WSAHOST_NOT_FOUND), nullptr},
      {"127.0.0.1", "80", WS_AF_INET6, 0, 0, static_cast<int>(WSAEAFNOSUPPORT), nullptr},
      {"localhost", "80", 0, WS_AI_NUMERICHOST, 0, static_cast<int>(WSAHOST_NOT_FOUND), nullptr},
      {"no-such-host.invalid", "80", 0, 0, 0, static_cast<int>(WSAHOST_NOT_FOUND), nullptr},
  };
  for (const AddressInfoCase& c : cases) {
    SCOPED_TRACE(std::string(c.node ? c.node : "(null)") + " " + (c.service ? c.service : ""));
    WS_addrinfo hints{};
    hints.ai_family = c.family;
    hints.ai_flags = c.flags;
    hints.ai_socktype = c.socktype;
    hints.ai_protocol = 17;
    WS_addrinfo* list = reinterpret_cast<WS_addrinfo*>(1);
    ASSERT_EQ(T().getaddrinfo(c.node, c.service, &hints, &list), c.expected);
    if (c.expected != 0) {
      EXPECT_EQ(list, nullptr);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.expected));
      continue;
    }
    ASSERT_NE(list, nullptr);
    WS_sockaddr_in address;
    std::memcpy(&address, list->ai_addr, sizeof address);
    EXPECT_STREQ(T().inet_ntoa(address.sin_addr), c.firstAddress);
    EXPECT_EQ(address.sin_port, T().htons(c.service ? std::atoi(c.service) : 0));
    EXPECT_EQ(list->ai_family, WS_AF_INET);
    EXPECT_EQ(list->ai_socktype, c.socktype != 0 ? c.socktype : WS_SOCK_STREAM);
    EXPECT_EQ(list->ai_protocol, 17);
    EXPECT_EQ(list->ai_addrlen, 16u);
    EXPECT_EQ(list->ai_canonname, nullptr);
    T().freeaddrinfo(list);
  }
}

TEST_F(NetTest, OwnNameInfoFollowsTheDeviceCodes) {
  NetworkSettings settings;
  settings.addressInfo = false;
  UseSettings(settings);
  ASSERT_TRUE(StartLayer());
  WS_sockaddr_in address{};
  address.sin_family = WS_AF_INET;
  address.sin_port = T().htons(8080);
  address.sin_addr.s_addr = T().inet_addr("127.0.0.1");
  const auto* a = reinterpret_cast<const WS_sockaddr*>(&address);
  char host[64];
  char service[8];
  EXPECT_EQ(T().getnameinfo(a, 16, host, sizeof host, service, sizeof service,
                            WS_NI_NUMERICHOST | WS_NI_NUMERICSERV),
            0);
  EXPECT_STREQ(host, "127.0.0.1");
  EXPECT_STREQ(service, "8080");
  EXPECT_EQ(T().getnameinfo(a, 16, host, sizeof host, nullptr, 0, 0), 0);
  EXPECT_STREQ(host, "localhost");
  EXPECT_EQ(T().getnameinfo(a, 16, host, 4, nullptr, 0, WS_NI_NUMERICHOST), 8);
  EXPECT_EQ(T().getnameinfo(a, 16, nullptr, 0, service, 4, WS_NI_NUMERICSERV), 8);
  EXPECT_EQ(T().getnameinfo(a, 16, nullptr, 0, service, sizeof service, 0),
            static_cast<int>(WSANO_RECOVERY));
  EXPECT_EQ(T().getnameinfo(a, 15, host, sizeof host, nullptr, 0, 0),
            static_cast<int>(WSAEAFNOSUPPORT));
  EXPECT_EQ(T().getnameinfo(nullptr, 16, host, sizeof host, nullptr, 0, 0),
            static_cast<int>(WSANO_RECOVERY));
  EXPECT_EQ(GetLastError(), WSANO_RECOVERY);
}

TEST_F(NetTest, TheDeviceAddressInfoHasTheDeviceLayout) {
  ASSERT_TRUE(StartLayer());
  WS_addrinfo hints{};
  hints.ai_family = WS_AF_INET;
  WS_addrinfo* list = nullptr;
  ASSERT_EQ(T().getaddrinfo("127.0.0.1", "80", &hints, &list), 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ai_family, WS_AF_INET);
  EXPECT_EQ(list->ai_addrlen, 16u);
  EXPECT_EQ(list->ai_addr->sa_family, WS_AF_INET);
  char service[8];
  EXPECT_EQ(T().getnameinfo(list->ai_addr, 16, nullptr, 0, service, sizeof service,
                            WS_NI_NUMERICSERV),
            0);
  EXPECT_STREQ(service, "80");
  T().freeaddrinfo(list);
  EXPECT_EQ(T().getaddrinfo("x", "80", &hints, nullptr), static_cast<int>(WSAEINVAL));
}

}  // namespace
}  // namespace tqtest
