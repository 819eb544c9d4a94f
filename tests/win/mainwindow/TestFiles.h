// Files and a drawing surface for the Wine tests, in plain types, so that tests written
// against the framework need not include <windows.h>.
#pragma once

#include <cstdint>
#include <string>

// The temporary directory, with its trailing backslash, and a file in it.
std::u16string TempDir();
std::u16string TempFile(const char16_t* name);

bool PutFile(const std::u16string& path, const std::string& bytes);
std::string GetFile(const std::u16string& path);  // empty when missing
bool RemoveFile(const std::u16string& path);

// A white 32-bit memory bitmap selected into a memory device context.
class Canvas {
public:
    explicit Canvas(int size);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ready() const { return m_bits != nullptr; }
    uintptr_t Dc() const { return m_dc; }
    uint32_t Pixel(int x, int y) const;  // 0xRRGGBB

private:
    int m_size;
    uintptr_t m_dc = 0;
    uintptr_t m_bitmap = 0;
    uintptr_t m_previous = 0;
    uint32_t* m_bits = nullptr;
};
