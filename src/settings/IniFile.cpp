#include "settings/IniFile.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "settings/CommaText.h"
#include "settings/IniDocument.h"
#include "settings/IniReader.h"
#include "settings/IniText.h"

namespace bk {
namespace {

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
};

}  // namespace

IniSnapshot::IniSnapshot(const IniFile& file) : platform_(file.GetPlatform()) {
    try {
        // Asked first: a plug-in without a settings file reads its defaults at
        // every attach, and a failed open would cost an exception each time.
        if (!platform_.FileExists(file.Path()))
            return;
        IniFileText decoded = DecodeIniFile(platform_.ReadFile(file.Path()));
        unicode_ = decoded.encoding != IniEncoding::Ansi;
        text_ = std::move(decoded.text);
    } catch (...) {
        text_.clear();  // missing, a directory, locked, ...: every read gives its default
        unicode_ = false;
    }
}

namespace {

// Runs `read(reader, text)` on a reader of the snapshot's text; `fallback`
// when anything fails.
template <typename Result, typename Read>
Result ReadWith(Platform& platform, const std::string& fileText, bool unicode, Result fallback,
                Read read) {
    try {
        const CodePage& codePage = unicode ? UnicodeFileCodePage() : platform.AnsiCodePage();
        return read(IniReader(fileText, codePage), TextOfFile{platform, unicode});
    } catch (...) {
        return fallback;
    }
}

}  // namespace

int IniSnapshot::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
    return ReadWith(platform_, text_, unicode_, defaultValue,
                    [&](const IniReader& reader, const TextOfFile& text) {
                        return IntegerFromValue(reader.FindValue(text.In(section), text.In(key)),
                                                defaultValue);
                    });
}

std::string IniSnapshot::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return ReadWith(platform_, text_, unicode_, std::string(defaultValue),
                    [&](const IniReader& reader, const TextOfFile& text) {
                        return text.OutString(reader.FindValue(text.In(section), text.In(key)),
                                              defaultValue);
                    });
}

void IniSnapshot::ForEachKey(
    std::string_view section,
    FunctionRef<void(std::string_view, std::optional<std::string_view>)> visit) const {
    ReadWith(platform_, text_, unicode_, 0, [&](const IniReader& reader, const TextOfFile& text) {
        auto convert = [&](std::string_view key, std::optional<std::string_view> stored) {
            if (!text.unicode)
                return visit(key, stored ? std::optional(Unquote(*stored)) : std::nullopt);
            std::optional<std::string> value;
            if (stored)
                value = text.Out(Unquote(*stored));
            visit(text.Out(key), value);
        };
        reader.ForEachKey(text.In(section), convert);
        return 0;
    });
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return IniSnapshot(*this).ReadInteger(section, key, defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return IniSnapshot(*this).ReadString(section, key, defaultValue);
}

// The stored values of one section of a Unicode file that the system code
// page can't carry (their round trip through it changes them), by the text a
// read shows of them: the candidates that a write of that text keeps.
struct IniBatch::KeptValues {
    std::unordered_map<std::string, std::vector<std::string>> byShown;
};

struct IniBatch::State {
    explicit State(const CodePage& codePage) : document(codePage) {}
    IniDocument document;
    std::string loadError;  // why the file could not be read; empty when it could
    bool written = false;   // a write or delete was asked for
    bool changed = false;   // ... and changed the text
    // Folded stored section name -> its kept values, made at its first write.
    std::unordered_map<std::string, KeptValues> kept;
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

std::string IniBatch::Out(std::string_view stored) const {
    return TextOf(file_.GetPlatform(), state_->document).Out(stored);
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
    std::vector<IniEntry> entries = state_->document.ReadSection(In(section));
    if (state_->document.Encoding() != IniEncoding::Ansi)
        for (IniEntry& entry : entries) entry = {Out(entry.key), Out(entry.value)};
    return entries;
}

std::vector<std::string> IniBatch::ReadSectionValues(std::string_view section) const {
    const IniDocument& document = state_->document;
    const CodePage& codePage = document.Encoding() == IniEncoding::Ansi
                                   ? file_.GetPlatform().AnsiCodePage()
                                   : UnicodeFileCodePage();
    const std::vector<IniEntry> entries = document.ReadSection(In(section));
    std::unordered_map<std::string, std::size_t> first;  // folded stored key -> entry
    std::vector<std::string> values;
    values.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto [it, added] = first.try_emplace(codePage.Fold(entries[i].key), i);
        values.push_back(Out(entries[it->second].value));
    }
    return values;
}

IniBatch::KeptValues& IniBatch::KeptIn(const std::string& storedSection) {
    const CodePage& codePage = UnicodeFileCodePage();
    auto [it, added] =
        state_->kept.try_emplace(codePage.Fold(RequestedName(storedSection, codePage)));
    if (added) {
        for (IniEntry& entry : state_->document.ReadSection(storedSection)) {
            const std::string& stored = entry.value;
            if (std::all_of(stored.begin(), stored.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
                continue;  // ASCII goes through every code page unchanged
            std::string shown = Out(stored);
            if (In(shown) != stored)
                it->second.byShown[std::move(shown)].push_back(std::move(entry.value));
        }
    }
    return it->second;
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
    const std::string storedSection = In(section), storedKey = In(key);
    std::string stored = In(value);
    std::vector<std::string>* candidates = nullptr;
    std::vector<std::string>::iterator keep;
    if (state_->document.Encoding() != IniEncoding::Ansi) {
        // Refused as the plain write would be, whatever the file holds.
        state_->document.CheckStorable(storedSection, storedKey, stored);
        const std::string_view read = Unquote(value);
        KeptValues& kept = KeptIn(storedSection);
        if (auto found = kept.byShown.find(std::string(read)); found != kept.byShown.end()) {
            candidates = &found->second;
            std::optional<std::string_view> own =
                state_->document.FindValue(storedSection, storedKey);
            keep = own ? std::find(candidates->begin(), candidates->end(), Unquote(*own))
                       : candidates->end();
            if (keep != candidates->end()) {
                candidates->erase(keep);  // the key keeps its own text
                state_->written = true;
                return;
            }
            keep = std::find_if(candidates->begin(), candidates->end(),
                                [](const std::string& text) { return IsValidUtf8(text); });
            if (keep != candidates->end()) {
                // Inside the quotes that the value's read removes.
                const std::string quote(value.substr(0, (value.size() - read.size()) / 2));
                stored = quote + *keep + quote;
            } else {
                candidates = nullptr;
            }
        }
    }
    Edit([&](IniDocument& document) {
        return document.WriteString(storedSection, storedKey, stored);
    });
    if (candidates)
        candidates->erase(keep);
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
