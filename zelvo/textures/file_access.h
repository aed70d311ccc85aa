// File services shared by the BMP and TGA readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace zelvo {

// True when a regular file (not a directory) of that name exists. Names are matched as on
// Windows, without regard to case when the exact name does not exist.
bool FileExists(const char* name);

// fopen for reading in binary mode of regular files only: as on Windows a directory is not opened
// (glibc's fopen does, and the first read then fails), and neither is a FIFO or a device, which
// could block the reader or never end. nullptr for those, at once, with the reason in `why` when
// given. A name not found as it is is looked for without regard to case, as Windows would.
FILE* OpenForReading(const char* name, std::string* why = nullptr);

#ifndef _WIN32
// The checks of OpenForReading without the stream: a descriptor open for reading (O_NONBLOCK, which
// changes nothing for a regular file), or -1 with the reason in `why`. A stream costs system calls
// of its own (fdopen asks for the descriptor's flags, the first read for its block size), which a
// reader that keeps its own buffer does without.
// The file's size at the open goes to `size` when given (0 for files that do not know it, as in
// /proc).
int OpenDescriptorForReading(const char* name, std::string* why = nullptr,
                             std::uint64_t* size = nullptr);

// read() until count bytes have arrived or the file ends; the count that arrived. A short read
// that reaches `left` (when not 0), the bytes the size says are left, is the end: no read to find
// nothing more. A device error stops the program like one met by ReadBytes; `name` is the file's,
// for that message.
std::size_t ReadDescriptor(int fd, void* destination, std::size_t count, std::uint64_t left,
                           const char* name);

// close() whose failure is a device error, like CloseFile.
void CloseDescriptor(int fd, const char* name);
#endif

// A device error during a read or a close is not something the readers report to the user: the
// program stops, naming the operation and the file, as for any other run-time error.
[[noreturn]] void InOutError(const char* operation, FILE* file);

// fread that tells a short read (end of file: the count is returned) from a device error (the
// program stops). A null file reads nothing, so a reader handed none refuses like at an early end.
std::size_t ReadBytes(void* destination, std::size_t count, FILE* file);

// fclose whose failure is a device error; nothing for a null file.
void CloseFile(FILE* file);

}  // namespace zelvo
