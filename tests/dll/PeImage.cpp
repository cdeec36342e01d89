#include "PeImage.h"

#include <algorithm>
#include <cstring>

namespace bk::test {
namespace {

class Reader {
public:
    explicit Reader(const std::string& b) : b_(b) {}
    std::uint32_t U32(std::size_t off) const { return Get<std::uint32_t>(off); }
    std::uint16_t U16(std::size_t off) const { return Get<std::uint16_t>(off); }
    std::string CString(std::size_t off) const {
        Check(off, 1);
        return std::string(b_.c_str() + off);
    }
    void Check(std::size_t off, std::size_t n) const {
        if (off > b_.size() || n > b_.size() - off)
            throw std::runtime_error("image truncated");
    }

private:
    template <typename T>
    T Get(std::size_t off) const {
        Check(off, sizeof(T));
        T v;
        std::memcpy(&v, b_.data() + off, sizeof v);
        return v;
    }
    const std::string& b_;
};

struct Section {
    std::uint32_t va, size, raw, rawSize;
};

std::string Utf16ToAscii(const std::string& bytes, std::size_t off, std::size_t chars) {
    std::string s;
    for (std::size_t i = 0; i < chars; ++i) {
        char16_t c = static_cast<unsigned char>(bytes[off + 2 * i]) |
                     static_cast<unsigned char>(bytes[off + 2 * i + 1]) << 8;
        if (c == 0)
            break;
        s += c < 128 ? static_cast<char>(c) : '?';
    }
    return s;
}

// Walks a version block tree (VS_VERSIONINFO and its children): wLength,
// wValueLength, wType, key (UTF-16, NUL-terminated), padding to 4, value,
// padding, children.
void WalkVersion(const std::string& bytes, std::size_t off, std::size_t end, PeImage& out,
                 int depth) {
    Reader r(bytes);
    while (off + 6 <= end) {
        std::size_t length = r.U16(off);
        std::size_t valueLength = r.U16(off + 2);
        std::uint16_t type = r.U16(off + 4);
        if (length == 0)
            break;
        std::size_t blockEnd = off + length;
        if (blockEnd > end)
            throw std::runtime_error("version block overruns");
        std::size_t keyOff = off + 6;
        std::size_t keyChars = 0;
        while (keyOff + 2 * keyChars + 1 < blockEnd &&
               (bytes[keyOff + 2 * keyChars] || bytes[keyOff + 2 * keyChars + 1]))
            ++keyChars;
        std::string key = Utf16ToAscii(bytes, keyOff, keyChars);
        std::size_t valueOff = (keyOff + 2 * (keyChars + 1) + 3) & ~std::size_t{3};
        if (depth == 0 && valueLength >= 52 && r.U32(valueOff) == 0xFEEF04BDu) {
            out.fileVersionMS = r.U32(valueOff + 8);
            out.fileVersionLS = r.U32(valueOff + 12);
        }
        std::size_t valueBytes = type == 1 ? 2 * valueLength : valueLength;
        if (depth == 3 && type == 1)
            out.versionStrings[key] = Utf16ToAscii(bytes, valueOff, valueLength);
        std::size_t childOff = (valueOff + valueBytes + 3) & ~std::size_t{3};
        if (childOff < blockEnd)
            WalkVersion(bytes, childOff, blockEnd, out, depth + 1);
        off = (blockEnd + 3) & ~std::size_t{3};
    }
}

}  // namespace

PeImage ReadPeImage(const std::string& bytes) {
    Reader r(bytes);
    PeImage image;
    if (r.U16(0) != 0x5A4D)
        throw std::runtime_error("no MZ header");
    std::size_t pe = r.U32(0x3C);
    if (r.U32(pe) != 0x00004550)
        throw std::runtime_error("no PE signature");
    std::size_t coff = pe + 4;
    image.machine = r.U16(coff);
    std::size_t sectionCount = r.U16(coff + 2);
    std::size_t optionalSize = r.U16(coff + 16);
    image.characteristics = r.U16(coff + 18);
    std::size_t symbols = r.U32(coff + 8);
    image.symbolCount = r.U32(coff + 12);
    std::size_t opt = coff + 20;
    if (r.U16(opt) != 0x10B)
        throw std::runtime_error("not a PE32 image");
    std::size_t dirs = opt + 96;

    std::vector<Section> sections;
    for (std::size_t i = 0, s = opt + optionalSize; i < sectionCount; ++i, s += 40) {
        sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
        r.Check(s, 8);
        std::string name(bytes.c_str() + s, strnlen(bytes.c_str() + s, 8));
        if (name.size() > 1 && name[0] == '/')  // "/<offset>" into the string table
            name = r.CString(symbols + 18 * std::size_t{image.symbolCount} +
                             std::stoul(name.substr(1)));
        if (name == ".gnu_debuglink")
            image.debugLink = r.CString(sections.back().raw);
        image.sectionNames.push_back(name);
    }
    auto offsetOf = [&](std::uint32_t rva) -> std::size_t {
        for (auto& s : sections)
            if (rva >= s.va && rva < s.va + std::max(s.size, s.rawSize))
                return s.raw + (rva - s.va);
        throw std::runtime_error("address outside every section");
    };

    if (std::uint32_t rva = r.U32(dirs + 0 * 8)) {
        std::size_t ed = offsetOf(rva);
        std::uint32_t names = r.U32(ed + 24);
        std::size_t nameTable = offsetOf(r.U32(ed + 32));
        for (std::uint32_t i = 0; i < names; ++i)
            image.exports.push_back(r.CString(offsetOf(r.U32(nameTable + 4 * i))));
    }
    if (std::uint32_t rva = r.U32(dirs + 1 * 8)) {
        for (std::size_t d = offsetOf(rva); r.U32(d + 12) != 0; d += 20) {
            std::string dll = r.CString(offsetOf(r.U32(d + 12)));
            image.imports.push_back(dll);
            // The lookup table (or, without one, the address table as stored).
            std::uint32_t lookup = r.U32(d) ? r.U32(d) : r.U32(d + 16);
            auto& functions = image.importedFunctions[dll];
            for (std::size_t t = offsetOf(lookup); std::uint32_t entry = r.U32(t); t += 4)
                functions.push_back(entry & 0x80000000u ? "#" + std::to_string(entry & 0xFFFF)
                                                        : r.CString(offsetOf(entry) + 2));
        }
    }
    if (std::uint32_t rva = r.U32(dirs + 2 * 8)) {
        std::size_t root = offsetOf(rva);
        // Resource tree: type -> name -> language -> data entry.
        auto entries = [&](std::size_t dir) {
            std::vector<std::pair<std::uint32_t, std::uint32_t>> list;
            std::size_t n = r.U16(dir + 12) + r.U16(dir + 14);
            for (std::size_t i = 0; i < n; ++i)
                list.emplace_back(r.U32(dir + 16 + 8 * i), r.U32(dir + 20 + 8 * i));
            return list;
        };
        for (auto [id, target] : entries(root)) {
            if (id != 16 || !(target & 0x80000000u))
                continue;  // RT_VERSION
            auto names = entries(root + (target & 0x7FFFFFFFu));
            if (names.empty())
                continue;
            auto langs = entries(root + (names[0].second & 0x7FFFFFFFu));
            if (langs.empty())
                continue;
            std::size_t data = root + langs[0].second;
            std::size_t blob = offsetOf(r.U32(data));
            std::size_t size = r.U32(data + 4);
            r.Check(blob, size);
            WalkVersion(bytes, blob, blob + size, image, 0);
        }
    }
    return image;
}

}  // namespace bk::test
