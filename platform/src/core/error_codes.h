// The error codes that failing calls leave for GetLastError (the values are <windows.h>'s).
#pragma once

#include <windows.h>

namespace plat {

constexpr DWORD kErrorFileNotFound = ERROR_FILE_NOT_FOUND;
constexpr DWORD kErrorPathNotFound = ERROR_PATH_NOT_FOUND;
constexpr DWORD kErrorAccessDenied = ERROR_ACCESS_DENIED;
constexpr DWORD kErrorInvalidHandle = ERROR_INVALID_HANDLE;
constexpr DWORD kErrorNotEnoughMemory = ERROR_NOT_ENOUGH_MEMORY;
constexpr DWORD kErrorInvalidData = ERROR_INVALID_DATA;
constexpr DWORD kErrorNotSupported = ERROR_NOT_SUPPORTED;
constexpr DWORD kErrorReadFault = ERROR_READ_FAULT;
constexpr DWORD kErrorInvalidParameter = ERROR_INVALID_PARAMETER;
constexpr DWORD kErrorInsufficientBuffer = ERROR_INSUFFICIENT_BUFFER;
constexpr DWORD kErrorModNotFound = ERROR_MOD_NOT_FOUND;
constexpr DWORD kErrorProcNotFound = ERROR_PROC_NOT_FOUND;
constexpr DWORD kErrorNotLocked = ERROR_NOT_LOCKED;
constexpr DWORD kErrorMessageNotFound = ERROR_MR_MID_NOT_FOUND;
constexpr DWORD kErrorInvalidWindowHandle = ERROR_INVALID_WINDOW_HANDLE;
constexpr DWORD kErrorTopLevelChild = ERROR_TLW_WITH_WSCHILD;
constexpr DWORD kErrorNoMoreUserHandles = ERROR_NO_MORE_USER_HANDLES;
constexpr DWORD kErrorCannotFindClass = ERROR_CANNOT_FIND_WND_CLASS;
constexpr DWORD kErrorClassAlreadyExists = ERROR_CLASS_ALREADY_EXISTS;
constexpr DWORD kErrorClassDoesNotExist = ERROR_CLASS_DOES_NOT_EXIST;
constexpr DWORD kErrorClassHasWindows = ERROR_CLASS_HAS_WINDOWS;
constexpr DWORD kErrorNotEnoughQuota = ERROR_NOT_ENOUGH_QUOTA;
constexpr DWORD kErrorInvalidPixelFormat = ERROR_INVALID_PIXEL_FORMAT;

}  // namespace plat
