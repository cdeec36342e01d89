#include "settings/IniFile.h"

#include "settings/CommaText.h"
#include "settings/IniText.h"

namespace bk {

IniSnapshot::IniSnapshot(const IniFile& file)
    : platform_(file.GetPlatform()), path_(file.Path()), document_(platform_.AnsiCodePage()) {
    try {
        // Asked first: a plug-in without a settings file reads its defaults at
        // every attach, and a failed open would cost an exception each time.
        if (platform_.FileExists(file.Path()))
            document_ = IniDocument(platform_.ReadFile(file.Path()), platform_.AnsiCodePage());
    } catch (const std::exception& e) {
        // Missing, a directory, locked, ...: every read gives its default, and
        // a batch keeps the file as it is.
        document_ = IniDocument(platform_.AnsiCodePage());
        loadError_ = e.what();
    }
}

std::string IniSnapshot::In(std::string_view text) const {
    return document_.IsUnicode() ? platform_.Utf8FromAnsi(text) : std::string(text);
}

std::string IniSnapshot::Out(std::string_view stored) const {
    return document_.IsUnicode() ? platform_.AnsiFromUtf8(stored) : std::string(stored);
}

// Reads never throw: a name or value that can't be converted reads as missing.
int IniSnapshot::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
    try {
        return IntegerFromValue(document_.FindValue(In(section), In(key)), defaultValue);
    } catch (...) {
        return defaultValue;
    }
}

std::string IniSnapshot::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    try {
        std::optional<std::string_view> stored = document_.FindValue(In(section), In(key));
        return stored ? Out(Unquote(*stored)) : std::string(defaultValue);
    } catch (...) {
        return std::string(defaultValue);
    }
}

std::vector<IniEntry> IniSnapshot::ReadSection(std::string_view section) const {
    std::vector<IniEntry> entries = document_.ReadSection(In(section));
    if (document_.IsUnicode())
        for (IniEntry& entry : entries) entry = {Out(entry.key), Out(entry.value)};
    return entries;
}

std::vector<LoadedValue> IniSnapshot::ReadSectionValues(std::string_view section) const {
    std::vector<LoadedValue> values;
    auto add = [&](std::string_view, std::string_view, std::optional<std::string_view> read) {
        std::string stored(read.value_or(""));
        values.push_back({Out(stored), std::move(stored)});
    };
    document_.ForEachEntry(In(section), add);
    return values;
}

void IniSnapshot::ForEachKey(
    std::string_view section,
    FunctionRef<void(std::string_view, std::optional<std::string_view>)> visit) const {
    auto convert = [&](std::string_view key, std::string_view,
                       std::optional<std::string_view> read) {
        if (!document_.IsUnicode())
            return visit(key, read);
        visit(Out(key), read ? std::optional(Out(*read)) : std::nullopt);
    };
    document_.ForEachEntry(In(section), convert);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return IniSnapshot(*this).ReadInteger(section, key, defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return IniSnapshot(*this).ReadString(section, key, defaultValue);
}

IniBatch::IniBatch(const IniFile& file) : IniSnapshot(file), file_(file) {}

template <typename Change>
void IniBatch::Edit(Change change) {
    written_ = true;
    try {
        if (change(document_))
            changed_ = true;
    } catch (const SettingsError&) {
        throw;
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't change the settings: ") + e.what());
    }
}

// `keep`: the stored text that `value` stands for when it reads back as what
// a read showed of it (null for none).
void IniBatch::Write(std::string_view section, std::string_view key, std::string_view value,
                     const std::string* keep) {
    const std::string storedSection = In(section), storedKey = In(key);
    std::string stored = In(value);
    if (keep && document_.IsUnicode()) {
        // Refused as the plain write would be, whatever the file holds.
        document_.CheckStorable(storedSection, storedKey, stored);
        const std::string_view read = Unquote(value);
        // Only text that the system code page can't carry needs keeping; the
        // rest converts back to what the file held.
        if (In(read) != *keep && Out(*keep) == read) {
            std::optional<std::string_view> own = document_.FindValue(storedSection, storedKey);
            if (own && Unquote(*own) == *keep) {
                written_ = true;  // the key keeps its own text
                return;
            }
            if (IsValidUtf8(*keep)) {
                // Inside the quotes that the value's read removes.
                const std::string quote(value.substr(0, (value.size() - read.size()) / 2));
                stored = quote + *keep + quote;
            }
        }
    }
    Edit([&](IniDocument& document) {
        return document.WriteString(storedSection, storedKey, stored);
    });
}

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::optional<std::string_view> own;
    if (document_.IsUnicode())
        own = document_.FindValue(In(section), In(key));
    const std::string keep(Unquote(own.value_or("")));  // a copy: the write changes the text
    Write(section, key, value, own ? &keep : nullptr);
}

void IniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value,
                           const LoadedValue& loaded) {
    Write(section, key, value, Unquote(value) == loaded.text ? &loaded.stored : nullptr);
}

void IniBatch::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniBatch::DeleteKey(std::string_view section, std::string_view key) {
    Edit([&](IniDocument& document) { return document.DeleteKey(In(section), In(key)); });
}

void IniBatch::Commit() {
    if (!written_)
        return;
    const std::string& path = file_.Path();
    if (!loadError_.empty())
        throw SettingsError("can't write the settings file " + path + ": it could not be read (" +
                            loadError_ + ")");
    if (!changed_)
        return;
    try {
        platform_.ReplaceFile(path, document_.Serialize());
    } catch (const std::exception& e) {
        throw SettingsError(std::string("can't write the settings file: ") + e.what());
    }
    changed_ = false;
}

}  // namespace bk
