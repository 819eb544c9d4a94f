#include "TestFiles.h"

#include <windows.h>

namespace {
const wchar_t* W(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
}  // namespace

std::u16string TempDir() {
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return reinterpret_cast<const char16_t*>(buffer);
}

std::u16string TempFile(const char16_t* name) { return TempDir() + name; }

bool PutFile(const std::u16string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string GetFile(const std::u16string& path) {
    std::string bytes;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool RemoveFile(const std::u16string& path) { return DeleteFileW(W(path)) != FALSE; }

Canvas::Canvas(int size) : m_size(size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_dc = reinterpret_cast<uintptr_t>(dc);
    m_bitmap = reinterpret_cast<uintptr_t>(bitmap);
    if (dc == nullptr || bitmap == nullptr) return;
    m_previous = reinterpret_cast<uintptr_t>(SelectObject(dc, bitmap));
    m_bits = static_cast<uint32_t*>(bits);
    for (int i = 0; i < size * size; ++i) m_bits[i] = 0x00FFFFFF;
}

Canvas::~Canvas() {
    HDC dc = reinterpret_cast<HDC>(m_dc);
    if (m_previous != 0) SelectObject(dc, reinterpret_cast<HGDIOBJ>(m_previous));
    if (m_bitmap != 0) DeleteObject(reinterpret_cast<HBITMAP>(m_bitmap));
    if (dc != nullptr) DeleteDC(dc);
}

uint32_t Canvas::Pixel(int x, int y) const {
    GdiFlush();
    return m_bits[y * m_size + x] & 0x00FFFFFF;
}
