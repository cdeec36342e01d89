#include "settings/IniFile.h"

#include "settings/IniDocument.h"
#include "settings/IniReader.h"

namespace bk {
namespace {

const CodePage& CodePageFor(const IniFileText& file, Platform& platform) {
    return file.encoding == IniEncoding::Ansi ? platform.AnsiCodePage() : UnicodeFileCodePage();
}

// Runs `read` on a reader of the file's text as it is now; `fallback` when
// the file can't be read (missing, a directory, locked, ...) or anything fails.
template <typename Result, typename Read>
Result ReadFileWith(Platform& platform, const std::string& path, Result fallback, Read read) {
    try {
        IniFileText file = DecodeIniFile(platform.ReadFile(path));
        return read(IniReader(file.text, CodePageFor(file, platform)));
    } catch (...) {
        return fallback;
    }
}

}  // namespace

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return ReadFileWith(platform_, path_, defaultValue, [&](const IniReader& reader) {
        return IntegerFromValue(reader.FindValue(section, key), defaultValue);
    });
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return ReadFileWith(platform_, path_, std::string(defaultValue), [&](const IniReader& reader) {
        return StringFromValue(reader.FindValue(section, key), defaultValue);
    });
}

std::vector<IniEntry> IniFile::ReadSection(std::string_view section) const {
    return ReadFileWith(platform_, path_, std::vector<IniEntry>(),
                        [&](const IniReader& reader) { return reader.ReadSection(section); });
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
        // A missing file is an empty one; one that can't be read is kept as it is.
        if (platform.FileExists(path))
            state_->document = IniDocument(platform.ReadFile(path), platform.AnsiCodePage());
    } catch (const std::exception& e) {
        if (!state_)
            throw SettingsError("can't write the settings file " + path + ": " + e.what());
        state_->loadError = e.what();
    }
}

IniBatch::~IniBatch() = default;

int IniBatch::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return state_->document.ReadInteger(section, key, defaultValue);
}

std::string IniBatch::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return state_->document.ReadString(section, key, defaultValue);
}

std::vector<IniEntry> IniBatch::ReadSection(std::string_view section) const {
    return state_->document.ReadSection(section);
}

template <typename Change>
void IniBatch::Edit(Change change) {
    state_->written = true;
    try {
        if (change(state_->document))
            state_->changed = true;
    } catch (const SettingsError&) {
        throw;
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't change the settings: ") + e.what());
    }
}

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Edit([&](IniDocument& document) { return document.WriteString(section, key, value); });
}

void IniBatch::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key) {
    Edit([&](IniDocument& document) { return document.DeleteKey(section, key); });
}

void IniBatch::Commit() {
    if (!state_->written)
        return;
    const std::string& path = file_.Path();
    if (!state_->loadError.empty())
        throw SettingsError("can't write the settings file " + path + ": it could not be read (" +
                            state_->loadError + ")");
    if (!state_->changed)
        return;
    try {
        file_.GetPlatform().ReplaceFile(path, state_->document.Serialize());
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't write the settings file: ") + e.what());
    }
    state_->changed = false;
}

}  // namespace bk
