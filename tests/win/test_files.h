#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace ostrel::testing {

// The source tree as the Wine side sees it (Z: is the Unix root).
inline std::wstring SourcePath(const std::wstring& relative) {
  std::wstring path = L"Z:" + std::wstring(OSTREL_SOURCE_DIR_W) + L"/" + relative;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

inline std::vector<char> ReadBytes(const std::wstring& path) {
  std::vector<char> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

inline void WriteBytes(const std::wstring& path, const void* data, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
}

// A folder of its own under %TEMP%, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"ostrel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter_++);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);
  }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  static inline int counter_ = 0;
  std::wstring path_;
};

// A bottom-up bitmap file; pixels are given top-down as BGRA words.
inline void WriteBitmapFile(const std::wstring& path, int width, int height, WORD bitCount,
                            const std::vector<uint32_t>& pixels) {
  const int rowBytes = ((width * bitCount + 31) / 32) * 4;
  std::vector<uint8_t> data(static_cast<size_t>(rowBytes) * height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = data.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels.empty() ? 0 : pixels[static_cast<size_t>(y) * width + x];
      const int bytes = bitCount / 8;
      for (int b = 0; b < bytes; ++b) row[x * bytes + b] = static_cast<uint8_t>(p >> (8 * b));
    }
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = bitCount;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(data.size());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + data.size());
  std::vector<uint8_t> all(reinterpret_cast<uint8_t*>(&file), reinterpret_cast<uint8_t*>(&file) + sizeof file);
  all.insert(all.end(), reinterpret_cast<uint8_t*>(&info), reinterpret_cast<uint8_t*>(&info) + sizeof info);
  all.insert(all.end(), data.begin(), data.end());
  WriteBytes(path, all.data(), all.size());
}

}  // namespace ostrel::testing
