#include "sound_bank.h"
#include "little_endian.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace hunt {
namespace {

constexpr char magic[8] = {'H', 'U', 'N', 'T', 'S', 'N', 'D', 'B'};
constexpr std::size_t headerBytes = 16;
constexpr uint32_t minSampleRate = 1000;
constexpr uint32_t maxSampleRate = 384000;

// Reads little-endian fields, checking each against the end of the data first.
class Reader {
public:
    Reader(const uint8_t *bytes, std::size_t size, const std::string &fileName)
        : bytes_(bytes), size_(size), fileName_(fileName) {}

    [[noreturn]] void fail(const std::string &what) const {
        throw HuntError(fileName_ + ": not a valid sound bank (" + what + ")");
    }
    std::size_t remaining() const { return size_ - pos_; }
    void need(std::size_t count, const char *what) const {
        if (count > remaining())
            fail(std::string("file ends inside ") + what);
    }
    uint8_t u8(const char *what) {
        need(1, what);
        return bytes_[pos_++];
    }
    uint16_t u16(const char *what) {
        need(2, what);
        const uint16_t value = get16(bytes_ + pos_);
        pos_ += 2;
        return value;
    }
    uint32_t u32(const char *what) {
        need(4, what);
        const uint32_t value = get32(bytes_ + pos_);
        pos_ += 4;
        return value;
    }
    const uint8_t *take(std::size_t count, const char *what) {
        need(count, what);
        const uint8_t *start = bytes_ + pos_;
        pos_ += count;
        return start;
    }

private:
    const uint8_t *bytes_;
    std::size_t size_;
    std::size_t pos_ = 0;
    const std::string &fileName_;
};

// The rules shared by the reader and the writer; returns what is wrong, or empty.
std::string problemOf(std::size_t nameLength, uint16_t maxPlaying, uint32_t sampleRate,
                      uint16_t channels, uint16_t bits, std::size_t dataBytes) {
    if (nameLength == 0 || nameLength > 255)
        return "name length " + std::to_string(nameLength) + " not in 1 to 255";
    if (maxPlaying == 0)
        return "maximum playing count 0";
    if (sampleRate < minSampleRate || sampleRate > maxSampleRate)
        return "sample rate " + std::to_string(sampleRate) + " not in 1000 to 384000";
    if (channels != 1 && channels != 2)
        return std::to_string(channels) + " channels; 1 or 2 are possible";
    if (bits != 8 && bits != 16)
        return std::to_string(bits) + " bits per sample; 8 or 16 are possible";
    const std::size_t frameBytes = std::size_t{channels} * (bits / 8u);
    if (dataBytes == 0 || dataBytes % frameBytes != 0)
        return "sample data of " + std::to_string(dataBytes) + " bytes is not whole frames";
    if (dataBytes > 0xffffffffu)
        return "sample data too long";
    return {};
}

} // namespace

void validateSoundItem(const SoundItem &item) {
    const std::string problem = problemOf(item.name.size(), item.maxPlaying, item.sampleRate,
                                          item.channels, item.bitsPerSample, item.data.size());
    if (!problem.empty())
        throw HuntError("Sound '" + item.name + "': " + problem);
}

SoundBank parseSoundBank(const uint8_t *bytes, std::size_t size, const std::string &fileName) {
    Reader in(bytes, size, fileName);
    if (size == 0)
        in.fail("empty file");
    if (size > soundBankMaxFileBytes)
        in.fail("larger than " + std::to_string(soundBankMaxFileBytes) + " bytes");
    if (size < headerBytes || std::memcmp(bytes, magic, sizeof magic) != 0)
        in.fail("no HUNTSNDB header");
    in.take(sizeof magic, "the header");
    const uint16_t version = in.u16("the header");
    if (version != soundBankVersion)
        in.fail("version " + std::to_string(version) + ", this program reads version " +
                std::to_string(soundBankVersion));
    if (in.u16("the header") != 0)
        in.fail("unknown header flags");
    const uint32_t count = in.u32("the header");
    if (count > soundBankMaxItems)
        in.fail(std::to_string(count) + " items, at most " + std::to_string(soundBankMaxItems));
    // Every item takes at least 20 bytes of fields and one byte of name and of data.
    if (std::size_t{count} * 22 > in.remaining())
        in.fail(std::to_string(count) + " items cannot fit in the file");

    SoundBank bank;
    bank.items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        SoundItem item;
        const uint16_t nameLength = in.u16("an item's name");
        if (nameLength == 0 || nameLength > 255)
            in.fail("item " + std::to_string(i + 1) + ": name length " +
                    std::to_string(nameLength) + " not in 1 to 255");
        const uint8_t *name = in.take(nameLength, "an item's name");
        item.name.assign(reinterpret_cast<const char *>(name), nameLength);
        const uint8_t flags = in.u8("an item's fields");
        if (flags > 1)
            in.fail("item " + std::to_string(i + 1) + ": unknown flags");
        item.looped = flags == 1;
        if (in.u8("an item's fields") != 0)
            in.fail("item " + std::to_string(i + 1) + ": reserved byte not 0");
        item.maxPlaying = in.u16("an item's fields");
        item.sampleRate = in.u32("an item's fields");
        item.channels = in.u16("an item's fields");
        item.bitsPerSample = in.u16("an item's fields");
        const uint32_t dataBytes = in.u32("an item's fields");
        const std::string problem = problemOf(nameLength, item.maxPlaying, item.sampleRate,
                                              item.channels, item.bitsPerSample, dataBytes);
        if (!problem.empty())
            in.fail("item " + std::to_string(i + 1) + ": " + problem);
        const uint8_t *data = in.take(dataBytes, "an item's samples");
        item.data.assign(data, data + dataBytes);
        bank.items.push_back(std::move(item));
    }
    if (in.remaining() != 0)
        in.fail(std::to_string(in.remaining()) + " stray bytes after the last item");
    return bank;
}

SoundBank readSoundBankFile(const std::string &path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        throw SoundBankMissing(path);
    if (!std::filesystem::is_regular_file(status))
        throw HuntError(path + ": not a file");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw HuntError(path + ": " + ec.message());
    if (size > soundBankMaxFileBytes)
        throw HuntError(path + ": not a valid sound bank (larger than " +
                        std::to_string(soundBankMaxFileBytes) + " bytes)");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw HuntError(path + ": cannot be opened for reading");
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(file.gcount()) != bytes.size())
        throw HuntError(path + ": read error");
    return parseSoundBank(bytes.data(), bytes.size(), path);
}

std::vector<uint8_t> serializeSoundBank(const SoundBank &bank) {
    if (bank.items.size() > soundBankMaxItems)
        throw HuntError("A sound bank holds at most " + std::to_string(soundBankMaxItems) +
                        " items");
    std::vector<uint8_t> out(magic, magic + sizeof magic);
    put16(out, soundBankVersion);
    put16(out, 0);
    put32(out, static_cast<uint32_t>(bank.items.size()));
    for (const SoundItem &item : bank.items) {
        validateSoundItem(item);
        put16(out, static_cast<uint16_t>(item.name.size()));
        out.insert(out.end(), item.name.begin(), item.name.end());
        out.push_back(item.looped ? 1 : 0);
        out.push_back(0);
        put16(out, item.maxPlaying);
        put32(out, item.sampleRate);
        put16(out, item.channels);
        put16(out, item.bitsPerSample);
        put32(out, static_cast<uint32_t>(item.data.size()));
        out.insert(out.end(), item.data.begin(), item.data.end());
    }
    if (out.size() > soundBankMaxFileBytes)
        throw HuntError("The sound bank would be larger than " +
                        std::to_string(soundBankMaxFileBytes) + " bytes");
    return out;
}

void writeSoundBankFile(const std::string &path, const SoundBank &bank) {
    const std::vector<uint8_t> bytes = serializeSoundBank(bank);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            throw HuntError(path + ": cannot be written");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        throw HuntError(path + ": " + ec.message());
    }
}

} // namespace hunt
