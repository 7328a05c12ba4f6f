// The device's socket library: the 36 procedures that the library binds by name, with the
// device's semantics and error codes, over the host's BSD sockets.
//
// The device has the library under the name that its configuration gives ("Ws2.dll" unless
// device.json says otherwise, see network_settings.h); RegisterSocketModules() declares it to
// the module loader, so that it is reached with LoadLibraryW and GetProcAddress like on the
// device. A configuration switch removes getaddrinfo, getnameinfo and freeaddrinfo from it.
//
// Invariants: a SOCKET is the host descriptor of a socket; calls on anything else fail with
// WSAENOTSOCK and never touch the descriptor. Every call but the byte-order and address-text
// helpers fails with WSANOTINITIALISED unless WSAStartup has been called more often than
// WSACleanup. A failed call leaves its device error code in the thread's last error.
#pragma once

#include "platform/winsock_types.h"

namespace ce::winsock {

SOCKET accept(SOCKET s, WS_sockaddr* address, int* length);
int bind(SOCKET s, const WS_sockaddr* address, int length);
int closesocket(SOCKET s);
int connect(SOCKET s, const WS_sockaddr* address, int length);
int ioctlsocket(SOCKET s, long command, WS_u_long* argument);
int getpeername(SOCKET s, WS_sockaddr* address, int* length);
int getsockname(SOCKET s, WS_sockaddr* address, int* length);
int getsockopt(SOCKET s, int level, int option, char* value, int* length);
WS_u_long WS_htonl(WS_u_long value);
WS_u_short WS_htons(WS_u_short value);
WS_u_long inet_addr(const char* text);
char* inet_ntoa(WS_in_addr address);
int listen(SOCKET s, int backlog);
WS_u_long WS_ntohl(WS_u_long value);
WS_u_short WS_ntohs(WS_u_short value);
int recv(SOCKET s, char* buffer, int length, int flags);
int recvfrom(SOCKET s, char* buffer, int length, int flags, WS_sockaddr* from, int* fromLength);
int select(int ignored, WS_fd_set* readable, WS_fd_set* writable, WS_fd_set* failed,
           const WS_timeval* timeout);
int send(SOCKET s, const char* buffer, int length, int flags);
int sendto(SOCKET s, const char* buffer, int length, int flags, const WS_sockaddr* to,
           int toLength);
int setsockopt(SOCKET s, int level, int option, const char* value, int length);
int shutdown(SOCKET s, int how);
SOCKET socket(int family, int type, int protocol);
WS_hostent* gethostbyaddr(const char* address, int length, int family);
WS_hostent* gethostbyname(const char* name);
int gethostname(char* name, int length);
int WSAStartup(WORD version, WSADATA* data);
int WSACleanup();
int WSALookupServiceBeginW(WSAQUERYSETW* restrictions, DWORD flags, HANDLE* lookup);
int WSALookupServiceNextW(HANDLE lookup, DWORD flags, DWORD* length, WSAQUERYSETW* results);
int WSALookupServiceEnd(HANDLE lookup);
int WSASetServiceW(WSAQUERYSETW* registration, int operation, DWORD flags);
int getaddrinfo(const char* node, const char* service, const WS_addrinfo* hints,
                WS_addrinfo** result);
int getnameinfo(const WS_sockaddr* address, int length, char* host, DWORD hostLength,
                char* service, DWORD serviceLength, int flags);
void freeaddrinfo(WS_addrinfo* list);
// The byte-order helpers are exported as htonl, htons, ntohl and ntohs (the host's headers
// make those names macros), WSAFDIsSet as "__WSAFDIsSet": whether `s` is in `set`.
int WSAFDIsSet(SOCKET s, WS_fd_set* set);

// Whether WSAStartup is in force; sets WSANOTINITIALISED when not.
bool SocketServiceStarted();

}  // namespace ce::winsock

namespace ce {

// Declares the device's socket library to the module loader under the names the device
// configuration gives, with or without the address-information procedures. Called again after
// the configuration changed (tests), it declares the library anew.
void RegisterSocketModules();

}  // namespace ce
