// The error codes that failing calls leave for GetLastError, with the values Windows documents.
#pragma once

#include <windows.h>

namespace plat {

constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorNotEnoughMemory = 8;
constexpr DWORD kErrorInvalidData = 13;
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorNotLocked = 158;
constexpr DWORD kErrorInvalidWindowHandle = 1400;
constexpr DWORD kErrorNotEnoughQuota = 1816;
constexpr DWORD kErrorInvalidPixelFormat = 2000;

}  // namespace plat
