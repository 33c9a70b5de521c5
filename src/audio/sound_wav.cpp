#include "sound_wav.h"
#include "little_endian.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace hunt {
namespace {

constexpr uint16_t formatPcm = 1;
constexpr uint16_t formatExtensible = 0xfffe;

} // namespace

SoundItem readWavFile(const std::string &path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw HuntError(path + ": " + ec.message());
    if (size > soundBankMaxFileBytes)
        throw HuntError(path + ": too large for a sound");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw HuntError(path + ": cannot be opened for reading");
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    auto fail = [&](const std::string &what) -> HuntError {
        return HuntError(path + ": not a PCM WAV file (" + what + ")");
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw fail("no RIFF WAVE header");

    SoundItem item;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size() && !haveData) {
        const uint8_t *chunk = bytes.data() + pos;
        const std::size_t length = get32(chunk + 4);
        const std::size_t available = bytes.size() - pos - 8;
        const uint8_t *body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || length > available)
                throw fail("short format chunk");
            uint16_t format = get16(body);
            if (format == formatExtensible && length >= 26)
                format = get16(body + 24); // the sub-format's first two bytes
            if (format != formatPcm)
                throw fail("compressed or floating-point samples");
            item.channels = get16(body + 2);
            item.sampleRate = get32(body + 4);
            item.bitsPerSample = get16(body + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                throw fail("samples before the format");
            // A writer that never patched the length leaves it too long: take what is there.
            const std::size_t take = std::min(length, available);
            const std::size_t frameBytes = item.frameBytes();
            const std::size_t whole = frameBytes ? take - take % frameBytes : take;
            item.data.assign(body, body + whole);
            haveData = true;
        }
        if (length > available)
            break;
        pos += 8 + length + (length & 1);
    }
    if (!haveFormat)
        throw fail("no format chunk");
    if (!haveData)
        throw fail("no samples");
    item.name = "wave";
    try {
        validateSoundItem(item);
    } catch (const HuntError &error) {
        throw fail(error.what());
    }
    item.name.clear();
    return item;
}

void writeWavFile(const std::string &path, const SoundItem &item) {
    const auto blockAlign = static_cast<uint16_t>(item.frameBytes());
    const auto dataBytes = static_cast<uint32_t>(item.data.size());
    std::vector<uint8_t> out;
    out.reserve(44 + item.data.size());
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes + (dataBytes & 1));
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, formatPcm);
    put16(out, item.channels);
    put32(out, item.sampleRate);
    put32(out, item.sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, item.bitsPerSample);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    out.insert(out.end(), item.data.begin(), item.data.end());
    if (dataBytes & 1)
        out.push_back(0);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(out.data()),
               static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file)
        throw HuntError(path + ": cannot be written");
}

} // namespace hunt
