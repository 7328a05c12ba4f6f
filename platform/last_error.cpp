// Per-thread last error and the errno -> device code tables.
//
// The tables follow what the device reports for the equivalent failure: opening a directory as
// a file is "access denied", a missing component of a path is "path not found", and so on.
// Where one errno stands for several device codes, the one of the most frequent caller is
// chosen; callers that know better set their own code.
#include "platform/last_error.h"

#include <cerrno>
#include <cstddef>

namespace ce {
namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

struct ErrnoMapping {
  int errnoValue;
  DWORD code;
};

// Errors that only the socket layer produces: the same code in both translations.
constexpr ErrnoMapping kSocketOnly[] = {
    {ENOTSOCK, WSAENOTSOCK},
    {EDESTADDRREQ, WSAEDESTADDRREQ},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, WSAESOCKTNOSUPPORT},
    {EPFNOSUPPORT, WSAEPFNOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    {ENOBUFS, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETOOMANYREFS, WSAETOOMANYREFS},
    {ECONNREFUSED, WSAECONNREFUSED},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
    {EALREADY, WSAEALREADY},
    {EINPROGRESS, WSAEINPROGRESS},
    {EUSERS, WSAEUSERS},
    {ESTALE, WSAESTALE},
    {EREMOTE, WSAEREMOTE},
};

// Errors that files, processes and sockets share, as the socket layer reports them.
constexpr ErrnoMapping kSocketShared[] = {
    {EINTR, WSAEINTR},         {EBADF, WSAEBADF},     {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},        {EFAULT, WSAEFAULT},   {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},       {ENFILE, WSAEMFILE},   {EAGAIN, WSAEWOULDBLOCK},
    {ETIMEDOUT, WSAETIMEDOUT}, {ELOOP, WSAELOOP},     {ENAMETOOLONG, WSAENAMETOOLONG},
    {ENOTEMPTY, WSAENOTEMPTY}, {EPIPE, WSAESHUTDOWN}, {EOPNOTSUPP, WSAEOPNOTSUPP},
};

// Everything else, as file, process and memory calls report it.
constexpr ErrnoMapping kGeneral[] = {
    {0, ERROR_SUCCESS},
    {EPERM, ERROR_ACCESS_DENIED},
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {ESRCH, ERROR_INVALID_PARAMETER},
    {EINTR, ERROR_OPERATION_ABORTED},
    {EIO, ERROR_GEN_FAILURE},
    {ENXIO, ERROR_DEV_NOT_EXIST},
    {E2BIG, ERROR_BAD_ENVIRONMENT},
    {ENOEXEC, ERROR_BAD_EXE_FORMAT},
    {EBADF, ERROR_INVALID_HANDLE},
    {ECHILD, ERROR_WAIT_NO_CHILDREN},
    {EAGAIN, ERROR_RETRY},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EACCES, ERROR_ACCESS_DENIED},
    {EFAULT, ERROR_NOACCESS},
    {EBUSY, ERROR_BUSY},
    {EEXIST, ERROR_ALREADY_EXISTS},
    {EXDEV, ERROR_NOT_SAME_DEVICE},
    {ENODEV, ERROR_DEV_NOT_EXIST},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENOTTY, ERROR_INVALID_FUNCTION},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EFBIG, ERROR_FILE_TOO_LARGE},
    {ENOSPC, ERROR_DISK_FULL},
    {ESPIPE, ERROR_SEEK_ON_DEVICE},
    {EROFS, ERROR_WRITE_PROTECT},
    {EMLINK, ERROR_TOO_MANY_LINKS},
    {EPIPE, ERROR_BROKEN_PIPE},
    {EDOM, ERROR_INVALID_PARAMETER},
    {ERANGE, ERROR_INSUFFICIENT_BUFFER},
    {EDEADLK, ERROR_POSSIBLE_DEADLOCK},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ENOLCK, ERROR_LOCK_FAILED},
    {ENOSYS, ERROR_CALL_NOT_IMPLEMENTED},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
    {ENODATA, ERROR_NOT_FOUND},
    {ETIMEDOUT, ERROR_TIMEOUT},
    {EOVERFLOW, ERROR_ARITHMETIC_OVERFLOW},
    {EILSEQ, ERROR_NO_UNICODE_TRANSLATION},
    {EOPNOTSUPP, ERROR_NOT_SUPPORTED},
    {ECANCELED, ERROR_OPERATION_ABORTED},
    {EDQUOT, ERROR_DISK_QUOTA_EXCEEDED},
};

template <size_t N>
bool Find(const ErrnoMapping (&table)[N], int errnoValue, DWORD* code) {
  for (const ErrnoMapping& m : table) {
    if (m.errnoValue == errnoValue) {
      *code = m.code;
      return true;
    }
  }
  return false;
}

}  // namespace

DWORD GetLastError() {
  return tLastError;
}

void SetLastError(DWORD code) {
  tLastError = code;
}

DWORD Win32ErrorFromErrno(int errnoValue) {
  DWORD code;
  if (Find(kGeneral, errnoValue, &code) || Find(kSocketOnly, errnoValue, &code)) return code;
  return ERROR_GEN_FAILURE;
}

DWORD WsaErrorFromErrno(int errnoValue) {
  DWORD code;
  if (Find(kSocketOnly, errnoValue, &code) || Find(kSocketShared, errnoValue, &code)) {
    return code;
  }
  return Win32ErrorFromErrno(errnoValue);
}

DWORD SetLastErrorFromErrno() {
  return SetLastErrorFromErrno(errno);
}

DWORD SetLastErrorFromErrno(int errnoValue) {
  DWORD code = Win32ErrorFromErrno(errnoValue);
  SetLastError(code);
  return code;
}

}  // namespace ce
