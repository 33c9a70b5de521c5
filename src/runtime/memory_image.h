#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace hunt {

// The 64 KiB memory image that survives from one start to the next in ram.dat.
class MemoryImage {
public:
    static constexpr std::size_t size = 65536;
    static constexpr uint32_t reviewswitch = 50730; // holding 1 disables the screen review

    void clear() { bytes.fill(0); }
    // Fills the image from the file if it exists; raises HuntError on an I/O failure.
    void loadram(const std::string &path = "ram.dat");
    // Writes all 65536 bytes; the old file survives a failure. Raises HuntError on failure.
    void saveram(const std::string &path = "ram.dat") const;
    uint8_t peek(double address) const;

    std::array<uint8_t, size> bytes{};
};

} // namespace hunt
