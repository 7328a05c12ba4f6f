// FormatMessageW over the layer's own table of system message texts.
//
// The table covers every code that the errno translations produce, the socket codes, and the
// other codes that the layer's calls set. It is sorted by code for a binary search; a unit
// test checks the order.
#include "platform/system_messages.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/last_error.h"
#include "platform/local_memory.h"

namespace ce {
namespace {

struct SystemMessage {
  DWORD code;
  const char16_t* text;
};

constexpr SystemMessage kMessages[] = {
    {ERROR_SUCCESS, u"The operation succeeded."},
    {ERROR_INVALID_FUNCTION, u"The function is not valid for this object."},
    {ERROR_FILE_NOT_FOUND, u"The file cannot be found."},
    {ERROR_PATH_NOT_FOUND, u"The path cannot be found."},
    {ERROR_TOO_MANY_OPEN_FILES, u"Too many files are open."},
    {ERROR_ACCESS_DENIED, u"Access is refused."},
    {ERROR_INVALID_HANDLE, u"The handle is not valid."},
    {ERROR_NOT_ENOUGH_MEMORY, u"There is not enough memory to complete this command."},
    {ERROR_BAD_ENVIRONMENT, u"The environment is not valid."},
    {ERROR_BAD_FORMAT, u"The program has a format that cannot be loaded."},
    {ERROR_INVALID_ACCESS, u"The access code is not valid."},
    {ERROR_INVALID_DATA, u"The data is not valid."},
    {ERROR_OUTOFMEMORY, u"There is not enough memory to complete this operation."},
    {ERROR_INVALID_DRIVE, u"The drive cannot be found."},
    {ERROR_NOT_SAME_DEVICE, u"The file cannot be moved to another storage device."},
    {ERROR_NO_MORE_FILES, u"There are no more files."},
    {ERROR_WRITE_PROTECT, u"The storage is write-protected."},
    {ERROR_NOT_READY, u"The device is not ready."},
    {ERROR_CRC, u"A data error occurred (checksum mismatch)."},
    {ERROR_SEEK, u"The requested position cannot be found on the storage."},
    {ERROR_WRITE_FAULT, u"The device cannot be written to."},
    {ERROR_READ_FAULT, u"The device cannot be read from."},
    {ERROR_GEN_FAILURE, u"A device of the system does not work."},
    {ERROR_SHARING_VIOLATION, u"The file is in use by another process."},
    {ERROR_LOCK_VIOLATION, u"Part of the file is locked by another process."},
    {ERROR_HANDLE_EOF, u"The end of the file has been reached."},
    {ERROR_HANDLE_DISK_FULL, u"The storage is full."},
    {ERROR_NOT_SUPPORTED, u"The request is not supported."},
    {ERROR_BAD_NETPATH, u"The network path cannot be found."},
    {ERROR_DEV_NOT_EXIST, u"The device or network resource is no longer available."},
    {ERROR_FILE_EXISTS, u"The file already exists."},
    {ERROR_CANNOT_MAKE, u"The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, u"A parameter is not valid."},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended."},
    {ERROR_OPEN_FAILED, u"The device or file cannot be opened."},
    {ERROR_BUFFER_OVERFLOW, u"The file name is too long."},
    {ERROR_DISK_FULL, u"There is not enough space on the storage."},
    {ERROR_CALL_NOT_IMPLEMENTED, u"This function is not supported on this system."},
    {ERROR_SEM_TIMEOUT, u"The semaphore wait timed out."},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area given to the call is too small."},
    {ERROR_INVALID_NAME, u"The file name, directory name or volume label syntax is not valid."},
    {ERROR_MOD_NOT_FOUND, u"The module cannot be found."},
    {ERROR_PROC_NOT_FOUND, u"The procedure cannot be found."},
    {ERROR_WAIT_NO_CHILDREN, u"There are no child processes to wait for."},
    {ERROR_NEGATIVE_SEEK, u"The file pointer cannot be set before the start of the file."},
    {ERROR_SEEK_ON_DEVICE, u"The file pointer cannot be set on this device or file."},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty."},
    {ERROR_BAD_ARGUMENTS, u"One or more arguments are not valid."},
    {ERROR_BAD_PATHNAME, u"The path is not valid."},
    {ERROR_LOCK_FAILED, u"The lock request could not be granted."},
    {ERROR_BUSY, u"The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, u"The file or object already exists."},
    {ERROR_BAD_EXE_FORMAT, u"The file is not a valid program for this system."},
    {ERROR_ENVVAR_NOT_FOUND, u"The environment option cannot be found."},
    {ERROR_FILENAME_EXCED_RANGE, u"The file name or extension is too long."},
    {ERROR_FILE_TOO_LARGE, u"The file is too large for this operation."},
    {ERROR_NO_DATA, u"The pipe is being closed."},
    {ERROR_MORE_DATA, u"More data is available."},
    {WAIT_TIMEOUT, u"The wait operation timed out."},
    {ERROR_NO_MORE_ITEMS, u"There are no more items."},
    {ERROR_DIRECTORY, u"The directory name is not valid."},
    {ERROR_NOT_OWNER, u"The caller does not own this mutex."},
    {ERROR_PARTIAL_COPY, u"Only part of the memory request was completed."},
    {ERROR_MR_MID_NOT_FOUND, u"The system has no text for this message number."},
    {ERROR_INVALID_ADDRESS, u"The address given is not valid."},
    {ERROR_ARITHMETIC_OVERFLOW, u"The result is too large for its type."},
    {ERROR_OPERATION_ABORTED, u"The operation was stopped before it completed."},
    {ERROR_IO_PENDING, u"The input or output operation is in progress."},
    {ERROR_NOACCESS, u"The memory location given is not accessible."},
    {ERROR_INVALID_FLAGS, u"The flags are not valid."},
    {ERROR_BADDB, u"The configuration registry database is damaged."},
    {ERROR_BADKEY, u"The configuration registry key is not valid."},
    {ERROR_CANTOPEN, u"The configuration registry key cannot be opened."},
    {ERROR_CANTREAD, u"The configuration registry key cannot be read."},
    {ERROR_CANTWRITE, u"The configuration registry key cannot be written."},
    {ERROR_KEY_DELETED, u"The configuration registry key has been marked for deletion."},
    {ERROR_NO_UNICODE_TRANSLATION, u"A character has no equivalent in the target code page."},
    {ERROR_DLL_INIT_FAILED, u"The module failed to initialise."},
    {ERROR_POSSIBLE_DEADLOCK, u"The operation would cause a deadlock."},
    {ERROR_TOO_MANY_LINKS, u"The file has too many links."},
    {ERROR_DEVICE_NOT_CONNECTED, u"The device is not connected."},
    {ERROR_NOT_FOUND, u"The element cannot be found."},
    {ERROR_CANCELLED, u"The operation was cancelled by the user."},
    {ERROR_CONNECTION_REFUSED, u"The remote system refused the connection."},
    {ERROR_NETWORK_UNREACHABLE, u"The network cannot be reached."},
    {ERROR_RETRY, u"The operation could not be completed now. Try it again."},
    {ERROR_DISK_QUOTA_EXCEEDED, u"The storage quota has been exceeded."},
    {ERROR_PRIVILEGE_NOT_HELD, u"The caller does not hold the privilege that this requires."},
    {ERROR_INVALID_WINDOW_HANDLE, u"The window handle is not valid."},
    {ERROR_CLIPBOARD_NOT_OPEN, u"The clipboard is not open."},
    {ERROR_NO_SYSTEM_RESOURCES, u"The system does not have the resources to complete this."},
    {ERROR_TIMEOUT, u"The operation timed out."},
    {ERROR_RESOURCE_LANG_NOT_FOUND, u"There is no text in this language for this message."},
    {ERROR_INVALID_TIME, u"The time is not valid."},
    {ERROR_CANT_RESOLVE_FILENAME, u"The file name cannot be resolved (too many links)."},
    {WSAEINTR, u"A blocking socket call was interrupted."},
    {WSAEBADF, u"The socket handle is not valid."},
    {WSAEACCES, u"Access to the socket is refused."},
    {WSAEFAULT, u"An address given to a socket call is not valid."},
    {WSAEINVAL, u"An argument given to a socket call is not valid."},
    {WSAEMFILE, u"Too many sockets are open."},
    {WSAEWOULDBLOCK, u"The socket operation cannot complete at once."},
    {WSAEINPROGRESS, u"A blocking socket operation is in progress."},
    {WSAEALREADY, u"An operation is already in progress on this socket."},
    {WSAENOTSOCK, u"The handle is not a socket."},
    {WSAEDESTADDRREQ, u"The socket operation needs a destination address."},
    {WSAEMSGSIZE, u"The message is larger than the socket's buffer or limit."},
    {WSAEPROTOTYPE, u"The protocol does not fit this type of socket."},
    {WSAENOPROTOOPT, u"The socket option is unknown or not supported."},
    {WSAEPROTONOSUPPORT, u"The protocol is not supported."},
    {WSAESOCKTNOSUPPORT, u"The socket type is not supported."},
    {WSAEOPNOTSUPP, u"The operation is not supported by this socket."},
    {WSAEPFNOSUPPORT, u"The protocol family is not supported."},
    {WSAEAFNOSUPPORT, u"The address family is not supported by the protocol."},
    {WSAEADDRINUSE, u"The socket address is already in use."},
    {WSAEADDRNOTAVAIL, u"The requested address is not valid here."},
    {WSAENETDOWN, u"The network is down."},
    {WSAENETUNREACH, u"The network cannot be reached."},
    {WSAENETRESET, u"The connection was dropped by the network."},
    {WSAECONNABORTED, u"The connection was stopped by this system."},
    {WSAECONNRESET, u"The connection was closed by the remote system."},
    {WSAENOBUFS, u"No buffer space is left for the socket operation."},
    {WSAEISCONN, u"The socket is already connected."},
    {WSAENOTCONN, u"The socket is not connected."},
    {WSAESHUTDOWN, u"Data cannot be sent or received: the socket has been shut down."},
    {WSAETOOMANYREFS, u"There are too many references to a kernel object."},
    {WSAETIMEDOUT, u"The connection attempt timed out."},
    {WSAECONNREFUSED, u"The connection was refused by the remote system."},
    {WSAELOOP, u"The name cannot be translated."},
    {WSAENAMETOOLONG, u"A name or name component is too long."},
    {WSAEHOSTDOWN, u"The remote host is down."},
    {WSAEHOSTUNREACH, u"There is no route to the remote host."},
    {WSAENOTEMPTY, u"The directory is not empty."},
    {WSAEUSERS, u"There are too many users."},
    {WSAESTALE, u"The file handle refers to something no longer available."},
    {WSAEREMOTE, u"The item is not available locally."},
    {WSASYSNOTREADY, u"The network subsystem is not ready."},
    {WSAVERNOTSUPPORTED, u"The requested socket library version is not supported."},
    {WSANOTINITIALISED, u"The socket library has not been started."},
    {WSAHOST_NOT_FOUND, u"The host name is unknown."},
    {WSATRY_AGAIN, u"The host name cannot be found now. Try again later."},
    {WSANO_RECOVERY, u"The name lookup failed without recovery."},
    {WSANO_DATA, u"The name is valid but has no data of the requested type."},
};

bool IsSupportedLanguage(DWORD languageId) {
  if (languageId > 0xFFFF) return false;
  LANGID lang = static_cast<LANGID>(languageId);
  WORD primary = PRIMARYLANGID(lang);
  return primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

}  // namespace

std::optional<std::u16string_view> SystemMessageText(DWORD code) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), code,
                             [](const SystemMessage& m, DWORD c) { return m.code < c; });
  if (it == std::end(kMessages) || it->code != code) return std::nullopt;
  return std::u16string_view(it->text);
}

DWORD FormatMessageW(DWORD flags, const void* /*source*/, DWORD messageId, DWORD languageId,
                     char16_t* buffer, DWORD size, va_list* /*arguments*/) {
  constexpr DWORD kSourceMask =
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;
  if ((flags & kSourceMask) != FORMAT_MESSAGE_FROM_SYSTEM || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!IsSupportedLanguage(languageId)) {
    SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
    return 0;
  }
  std::optional<std::u16string_view> text = SystemMessageText(messageId);
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  std::u16string message(*text);
  if ((flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != FORMAT_MESSAGE_MAX_WIDTH_MASK) {
    message += u"\r\n";
  }
  const DWORD length = static_cast<DWORD>(message.size());

  char16_t* target = buffer;
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    const size_t chars = std::max<size_t>(size, length + 1);
    target = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, chars * sizeof(char16_t)));
    if (target == nullptr) return 0;  // LocalAlloc has set the error
    *reinterpret_cast<char16_t**>(buffer) = target;
  } else if (size < length + 1) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(target, message.data(), length * sizeof(char16_t));
  target[length] = u'\0';
  return length;
}

}  // namespace ce
