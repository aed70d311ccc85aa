// The one line a failure writes to standard error beside whatever the user is shown: which
// function failed, on which file in which folder, and why.
#pragma once

#include <windows.h>

#include <string>

namespace zelvo {

// The folder `file` is looked up in, as an absolute name: the folder part of the name, taken from
// the current folder when the name is relative.
std::string FolderOf(const char* file);

// The system's text for a Windows error code, without its line end; "Windows error N" when the
// system has none.
std::string WindowsErrorText(DWORD code);

// Writes `Zelvo: FUNCTION: "FILE" in FOLDER: REASON` as one line to standard error.
void ReportFileFailure(const char* function, const char* file, const std::string& reason);

// Writes `Zelvo: FUNCTION: REASON` as one line to standard error.
void ReportFailure(const char* function, const std::string& reason);

}  // namespace zelvo
