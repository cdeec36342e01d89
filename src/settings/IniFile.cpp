#include "settings/IniFile.h"

#include <optional>

#include "settings/IniDocument.h"
#include "settings/IniReader.h"

namespace bk {
namespace {

// The file's text for a read, or nothing when it can't be had: every failure
// here means "use the default".
std::optional<IniFileText> LoadForReading(Platform& platform, const std::string& path) noexcept {
    try {
        if (!platform.FileExists(path)) return std::nullopt;
        return DecodeIniFile(platform.ReadFile(path));
    } catch (...) {
        return std::nullopt;
    }
}

const CodePage& CodePageFor(const IniFileText& file, Platform& platform) {
    return file.encoding == IniEncoding::Ansi ? platform.AnsiCodePage() : UnicodeFileCodePage();
}

bool IsDirectory(Platform& platform, const std::string& path) {
    try {
        for (const FoundFile& found : platform.FindFiles(path))
            if (found.attributes & kAttrDirectory) return true;
    } catch (...) {
    }
    return false;
}

}  // namespace

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    try {
        auto file = LoadForReading(platform_, path_);
        if (!file) return defaultValue;
        return IntegerFromValue(IniReader(file->text, CodePageFor(*file, platform_)).FindValue(section, key),
                                defaultValue);
    } catch (...) {
        return defaultValue;
    }
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    try {
        auto file = LoadForReading(platform_, path_);
        if (!file) return std::string(defaultValue);
        return StringFromValue(IniReader(file->text, CodePageFor(*file, platform_)).FindValue(section, key),
                               defaultValue);
    } catch (...) {
        return std::string(defaultValue);
    }
}

std::vector<IniEntry> IniFile::ReadSection(std::string_view section) const {
    try {
        auto file = LoadForReading(platform_, path_);
        if (!file) return {};
        return IniReader(file->text, CodePageFor(*file, platform_)).ReadSection(section);
    } catch (...) {
        return {};
    }
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    IniBatch batch(*this);
    batch.WriteString(section, key, value);
    batch.Commit();
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    IniBatch batch(*this);
    batch.WriteInteger(section, key, value);
    batch.Commit();
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    IniBatch batch(*this);
    batch.DeleteKey(section, key);
    batch.Commit();
}

struct IniBatch::State {
    explicit State(const CodePage& codePage) : document(codePage) {}
    IniDocument document;
    std::string loadError;  // why the file could not be read; empty when it could
    bool written = false;   // a write or delete was asked for
    bool changed = false;   // ... and changed the text
};

IniBatch::IniBatch(const IniFile& file) : file_(file) {
    Platform& platform = file.GetPlatform();
    const std::string& path = file.Path();
    try {
        state_ = std::make_unique<State>(platform.AnsiCodePage());
        if (platform.FileExists(path))
            state_->document = IniDocument(platform.ReadFile(path), platform.AnsiCodePage());
        else if (IsDirectory(platform, path))
            state_->loadError = "it is a directory";
    } catch (const std::exception& e) {
        if (!state_) throw SettingsError("can't write the settings file " + path + ": " + e.what());
        state_->loadError = e.what();
    }
}

IniBatch::~IniBatch() = default;

int IniBatch::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    try {
        return state_->document.ReadInteger(section, key, defaultValue);
    } catch (...) {
        return defaultValue;
    }
}

std::string IniBatch::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    try {
        return state_->document.ReadString(section, key, defaultValue);
    } catch (...) {
        return std::string(defaultValue);
    }
}

std::vector<IniEntry> IniBatch::ReadSection(std::string_view section) const {
    try {
        return state_->document.ReadSection(section);
    } catch (...) {
        return {};
    }
}

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    state_->written = true;
    try {
        if (state_->document.WriteString(section, key, value)) state_->changed = true;
    } catch (const SettingsError&) {
        throw;
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't change the settings: ") + e.what());
    }
}

void IniBatch::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key) {
    state_->written = true;
    try {
        if (state_->document.DeleteKey(section, key)) state_->changed = true;
    } catch (const SettingsError&) {
        throw;
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't change the settings: ") + e.what());
    }
}

void IniBatch::Commit() {
    if (!state_->written) return;
    const std::string& path = file_.Path();
    if (!state_->loadError.empty())
        throw SettingsError("can't write the settings file " + path +
                            ": it could not be read (" + state_->loadError + ")");
    if (!state_->changed) return;
    try {
        file_.GetPlatform().ReplaceFile(path, state_->document.Serialize());
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't write the settings file: ") + e.what());
    }
    state_->changed = false;
}

}  // namespace bk
