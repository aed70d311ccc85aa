// LoadTGA: opens a TGA file, classifies its 12-byte header and hands over to the reader of its
// type.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "core/failure_report.h"
#include "file_access.h"
#include "tga_internal.h"

TTGAHeader TGAHeader;
TTGA TGA;
const uint8_t uTGAcompare[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t cTGAcompare[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
FILE* fTGA = nullptr;

namespace zelvo {
namespace {

// The load in progress: its public entry point and its file (null for a stream of the caller's).
const char* g_function = nullptr;
const char* g_file = nullptr;

// What is wrong with a 12-byte file header that is neither of the two the reader takes.
std::string KindProblem(const uint8_t* h) {
  const std::string type = "image type " + std::to_string(h[2]);
  if (h[0] != 0)
    return type + " with a " + std::to_string(h[0]) +
           "-byte image ID field, which this reader does not skip";
  if (h[1] != 0) return type + " with a colour map (colour-map type " + std::to_string(h[1]) + ")";
  switch (h[2]) {
    case 0:
      return "image type 0: no image data";
    case 1:
    case 9:
      return type + ": colour-mapped";
    case 3:
    case 11:
      return type + ": greyscale";
    case 2:
    case 10:
      break;
    default:
      return type + ": not a TGA image type";
  }
  for (int i = 3; i < 8; ++i)
    if (h[i] != 0) return type + " with colour-map fields set (header bytes 3 to 7)";
  return type + " with an image origin other than (0, 0)";
}

}  // namespace

TgaLoadScope::TgaLoadScope(const char* function, const char* file) : outermost_(!g_function) {
  if (!outermost_) return;
  g_function = function;
  g_file = file;
}

TgaLoadScope::~TgaLoadScope() {
  if (!outermost_) return;
  g_function = nullptr;
  g_file = nullptr;
}

void TgaMessage(const char* text, const char* caption, const std::string& detail) {
  std::string reason = text;
  if (!detail.empty()) reason += ": " + detail;
  const char* function = g_function ? g_function : "LoadTGA";
  if (g_file)
    ReportFileFailure(function, g_file, reason);
  else
    ReportFailure(function, reason + " (reading a stream)");
  MessageBoxA(0, text, caption, MB_OK);
}

void ReleaseImage(TGATexture& Texture) {
  std::free(Texture.ImageData);
  Texture.ImageData = nullptr;
}

namespace {

// The 12-byte file header, then the reader of its type. The input is closed on every path.
bool ReadTga(TGATexture& Texture, TgaInput& in) {
  const std::size_t got = in.Fill(sizeof TGAHeader.Header);
  if (got < sizeof TGAHeader.Header) {
    TgaError("Could not read file header",
             in.HasFile() ? "the file ends after " + std::to_string(got) + " of its 12 header bytes"
                          : std::string("no file"));
    in.Close();
    return false;
  }
  std::memcpy(TGAHeader.Header, in.data(), sizeof TGAHeader.Header);
  in.Skip(sizeof TGAHeader.Header);
  bool ok = false;
  if (std::memcmp(TGAHeader.Header, uTGAcompare, sizeof uTGAcompare) == 0)
    ok = ReadUncompressedTga(Texture, in);
  else if (std::memcmp(TGAHeader.Header, cTGAcompare, sizeof cTGAcompare) == 0)
    ok = ReadCompressedTga(Texture, in);
  else
    TgaMessage("TGA file be type 2 or type 10", "Invalid Image", KindProblem(TGAHeader.Header));
  if (!ok) in.Close();
  return ok;
}

}  // namespace

bool LoadTGAStream(TGATexture& Texture, FILE* stream) {
  TgaLoadScope scope("LoadTGAStream", nullptr);
  fTGA = stream;
  uint8_t buffer[kStreamReadAhead];
  TgaInput in(stream, buffer, sizeof buffer);
  return ReadTga(Texture, in);
}

}  // namespace zelvo

bool LoadTGA(TGATexture& Texture, const char* FileName) {
  zelvo::TgaLoadScope scope("LoadTGA", FileName);
  // Read-only whatever FileMode says: a texture file need not be writable.
  std::string why;
#ifdef _WIN32
  FILE* file = zelvo::OpenForReading(FileName, &why);
  if (!file) {
    zelvo::TgaError("Could not open texture file", why);
    return false;
  }
  return zelvo::LoadTGAStream(Texture, file);
#else
  // Straight on the descriptor: open, fstat, reads, close, and nothing else. A small file arrives
  // whole with its header in the first read. One load at a time (the reader's globals say so), so
  // one buffer serves them all; it is large enough for a 256 x 256 image of 4 bytes a pixel, and
  // lives outside the stack, which may be small on other threads.
  static uint8_t buffer[256 * 1024 + 64];
  std::uint64_t size = 0;
  const int fd = zelvo::OpenDescriptorForReading(FileName, &why, &size);
  if (fd < 0) {
    zelvo::TgaError("Could not open texture file", why);
    return false;
  }
  zelvo::TgaInput in(fd, size, FileName, buffer, sizeof buffer);
  return zelvo::ReadTga(Texture, in);
#endif
}
