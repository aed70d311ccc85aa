// FormatMessageA for the system's error texts: the English wording Windows uses for the codes this
// layer reports.
#include <cstring>

#include "error_codes.h"

namespace {

struct ErrorText {
  DWORD code;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_INVALID_DATA, "The data is invalid."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_READ_FAULT, "The system cannot read from the specified device."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found."},
    {ERROR_NOT_LOCKED, "The segment is already unlocked."},
    {ERROR_NO_MORE_USER_HANDLES,
     "The current process has used all of its system allowance of handles for Window Manager "
     "objects."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_TLW_WITH_WSCHILD, "Cannot create a top-level child window."},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class."},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist."},
    {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows."},
    {ERROR_NOT_ENOUGH_QUOTA, "Not enough quota is available to process this command."},
    {ERROR_INVALID_PIXEL_FORMAT, "The pixel format is invalid."},
};

}  // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD message_id, DWORD, LPSTR buffer, DWORD size,
                     va_list*) {
  if ((flags & ~DWORD{FORMAT_MESSAGE_IGNORE_INSERTS}) != FORMAT_MESSAGE_FROM_SYSTEM || !buffer) {
    SetLastError(plat::kErrorInvalidParameter);
    return 0;
  }
  for (const ErrorText& entry : kTexts) {
    if (entry.code != message_id) continue;
    const size_t length = std::strlen(entry.text) + 2;  // with the "\r\n" every system text ends in
    if (length + 1 > size) {
      SetLastError(plat::kErrorInsufficientBuffer);
      return 0;
    }
    std::memcpy(buffer, entry.text, length - 2);
    std::memcpy(buffer + length - 2, "\r\n", 3);
    return static_cast<DWORD>(length);
  }
  SetLastError(plat::kErrorMessageNotFound);
  return 0;
}
