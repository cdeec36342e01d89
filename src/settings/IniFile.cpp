#include "settings/IniFile.h"

#include <optional>

#include "settings/IniDocument.h"
#include "settings/IniReader.h"

namespace bk {
namespace {

const CodePage& CodePageFor(const IniFileText& file, Platform& platform) {
    return file.encoding == IniEncoding::Ansi ? platform.AnsiCodePage() : UnicodeFileCodePage();
}

// Between the caller's text (the system code page) and a file's own: the same
// bytes for a file without a byte-order mark, UTF-8 for one with.
struct TextOfFile {
    Platform& platform;
    bool unicode;

    std::string In(std::string_view text) const {
        return unicode ? platform.Utf8FromAnsi(text) : std::string(text);
    }
    std::string Out(std::string_view text) const {
        return unicode ? platform.AnsiFromUtf8(text) : std::string(text);
    }
    std::string OutString(std::optional<std::string_view> stored,
                          std::string_view defaultValue) const {
        return stored ? Out(StringFromValue(stored, "")) : std::string(defaultValue);
    }
    std::vector<IniEntry> Out(std::vector<IniEntry> entries) const {
        if (unicode)
            for (IniEntry& entry : entries) entry = {Out(entry.key), Out(entry.value)};
        return entries;
    }
};

// Runs `read(reader, text)` on a reader of the file's text as it is now;
// `fallback` when the file can't be read (missing, a directory, locked, ...)
// or anything fails.
template <typename Result, typename Read>
Result ReadFileWith(Platform& platform, const std::string& path, Result fallback, Read read) {
    try {
        IniFileText file = DecodeIniFile(platform.ReadFile(path));
        return read(IniReader(file.text, CodePageFor(file, platform)),
                    TextOfFile{platform, file.encoding != IniEncoding::Ansi});
    } catch (...) {
        return fallback;
    }
}

}  // namespace

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return ReadFileWith(platform_, path_, defaultValue,
                        [&](const IniReader& reader, const TextOfFile& text) {
                            return IntegerFromValue(
                                reader.FindValue(text.In(section), text.In(key)), defaultValue);
                        });
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return ReadFileWith(platform_, path_, std::string(defaultValue),
                        [&](const IniReader& reader, const TextOfFile& text) {
                            return text.OutString(
                                reader.FindValue(text.In(section), text.In(key)), defaultValue);
                        });
}

std::vector<IniEntry> IniFile::ReadSection(std::string_view section) const {
    return ReadFileWith(platform_, path_, std::vector<IniEntry>(),
                        [&](const IniReader& reader, const TextOfFile& text) {
                            return text.Out(reader.ReadSection(text.In(section)));
                        });
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

namespace {

TextOfFile TextOf(Platform& platform, const IniDocument& document) {
    return {platform, document.Encoding() != IniEncoding::Ansi};
}

}  // namespace

std::string IniBatch::In(std::string_view text) const {
    return TextOf(file_.GetPlatform(), state_->document).In(text);
}

int IniBatch::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return IntegerFromValue(state_->document.FindValue(In(section), In(key)), defaultValue);
}

std::string IniBatch::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return TextOf(file_.GetPlatform(), state_->document)
        .OutString(state_->document.FindValue(In(section), In(key)), defaultValue);
}

std::vector<IniEntry> IniBatch::ReadSection(std::string_view section) const {
    return TextOf(file_.GetPlatform(), state_->document).Out(ReadStoredSection(section));
}

bool IniBatch::HoldsUnicode() const {
    return state_->document.Encoding() != IniEncoding::Ansi;
}

std::string IniBatch::Shown(std::string_view stored) const {
    return TextOf(file_.GetPlatform(), state_->document).Out(stored);
}

std::string IniBatch::ReadStoredString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    return state_->document.ReadString(In(section), In(key), defaultValue);
}

std::vector<IniEntry> IniBatch::ReadStoredSection(std::string_view section) const {
    return state_->document.ReadSection(In(section));
}

const std::string& IniBatch::LoadError() const {
    return state_->loadError;
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
    Edit([&](IniDocument& document) {
        return document.WriteString(In(section), In(key), In(value));
    });
}

void IniBatch::WriteStoredString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    Edit([&](IniDocument& document) { return document.WriteString(In(section), In(key), value); });
}

void IniBatch::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key) {
    Edit([&](IniDocument& document) { return document.DeleteKey(In(section), In(key)); });
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
