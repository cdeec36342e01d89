#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace bk::test {

char PathSeparator() {
    return static_cast<char>(fs::path::preferred_separator);
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "bkq-" << std::hex << (stamp & 0xFFFFFFF) << '-' << counter++;
        fs::path candidate = fs::temp_directory_path() / name.str();
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("can't create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::Join(std::string_view name) const {
    return path_ + PathSeparator() + std::string(name);
}

std::string TempDir::Write(std::string_view name, std::string_view content) const {
    fs::path p = fs::path(path_) / fs::path(std::string(name));
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("can't write " + p.string());
    return p.string();
}

std::string TempDir::Read(const std::string& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace bk::test
