#include "core/Picker.h"

#include <vector>

#include "dialogs/SelectSigForm.h"
#include "settings/CommaText.h"
#include "settings/QuoteFile.h"
#include "settings/Schema.h"
#include "settings/SignatureFiles.h"

namespace bk {
namespace {

Choice Text(std::string text) {
    return {Choice::Kind::Text, std::move(text)};
}
// A delivery goes on without a text, and the user is told why.
Choice Warning(std::string text) {
    return {Choice::Kind::Warning, std::move(text) + "\r\n" + kSentAsIsMessage};
}
Choice NoSignature() {
    return Warning(kNoSignatureFileMessage);
}

// The text of one signature file, from exactly as many bytes as the search
// found. A file that can't be read (gone, locked, shortened, a directory that
// matched the pattern) gives no text, and the user is told which file failed.
Choice ReadSignatureFile(Platform& platform, const std::string& directory, const FoundFile& file) {
    try {
        return Text(
            SignatureText(platform.ReadFileExactly(directory + file.name, file.size), platform));
    } catch (const FileError& e) {
        return Warning(std::string("The signature file could not be read.\r\n") + e.what());
    }
}

// The entries nameOf(0) ... nameOf(count - 1), known by their names as the
// file system compares them (letter case folded), all in one buffer.
struct FoldedNames {
    FoldedNames(const CodePage& codePage, std::size_t count,
                FunctionRef<std::string_view(std::size_t)> nameOf) {
        std::vector<std::size_t> ends;
        for (std::size_t i = 0; i < count; ++i) {
            codePage.AppendFolded(text, nameOf(i));
            ends.push_back(text.size());
        }
        std::size_t start = 0;
        for (std::size_t end : ends) {
            entries.push_back({std::string_view(text).substr(start, end - start), 0});
            start = end;
        }
    }
    std::string text;
    std::vector<RoundEntry> entries;  // views of `text`
};

// One pick from a setup: what each mode reads and draws from.
struct Pick {
    std::string_view section;
    const IniSnapshot& settings;  // the file as read for this pick
    Platform& platform;
    Random& random;
    RoundStore& rounds;
    Round* round = nullptr;  // the fair order's; null without it
    Round loaded;
    std::span<const RoundEntry> offered;  // to the last Choose

    // The fair order: the section's round as the store holds it since the last
    // pick there, or else the file's, kept in the store with a pick taken from it.
    void UseFairOrder() {
        round = rounds.Find(section);
        if (!round) {
            loaded = Round::FromText(settings.ReadString(section, kRoundKey, ""));
            round = &loaded;
        }
    }

    Choice SignatureFile(const std::string& directory) {
        std::vector<FoundFile> files = platform.FindFiles(SignatureSearchPattern(directory));
        if (files.empty())
            return NoSignature();
        if (!round || files.size() > Round::kMaxEntries)
            return ReadSignatureFile(platform, directory, files[Draw(files.size())]);
        auto nameOf = [&](std::size_t i) -> std::string_view { return files[i].name; };
        const FoldedNames names(platform.AnsiCodePage(), files.size(), nameOf);
        const std::size_t chosen = *Choose(names.entries);
        return Taken(chosen, ReadSignatureFile(platform, directory, files[chosen]));
    }

    // Every line ends with CR LF, however long it is.
    Choice Line() {
        const int count = settings.ReadInteger(section, kOneLineCountKey, 0);
        if (count < 1)
            return {};
        const auto size = static_cast<std::size_t>(count);
        if (!round || size > Round::kMaxEntries) {
            const std::string key = OneLineKey(Draw(size));
            return Text(settings.ReadString(OneLineListSection(section), key, "") + "\r\n");
        }
        // The lines as the plain pick reads them: a missing entry is an empty line.
        const OneLineEntries lines(settings, section, size, platform.AnsiCodePage());
        std::vector<RoundEntry> entries(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            entries[i] = {lines[i], static_cast<std::uint32_t>(i + 1)};
        const std::size_t chosen = *Choose(entries);
        return Taken(chosen, Text(std::string(lines[chosen]) + "\r\n"));
    }

    Choice Restricted(const std::string& directory) {
        const CodePage& codePage = platform.AnsiCodePage();
        std::string stored = settings.ReadString(section, kSelectedSigsKey, "");
        std::vector<std::string> titles = SplitCommaText('"' + stored + '"', codePage);
        auto find = [&](const std::string& title) -> std::optional<FoundFile> {
            std::vector<FoundFile> found =
                platform.FindFiles(SignatureTitlePattern(directory, title));
            return found.empty() ? std::nullopt : std::optional(std::move(found.front()));
        };
        if (round) {
            // A title without a file is no entry of the round.
            std::optional<FoundFile> file;
            auto titleOf = [&](std::size_t i) -> std::string_view { return titles[i]; };
            const FoldedNames folded(codePage, titles.size(), titleOf);
            auto usable = [&](std::size_t i) { return (file = find(titles[i])).has_value(); };
            std::optional<std::size_t> chosen = Choose(folded.entries, usable);
            if (!chosen)
                return NoSignature();
            return Taken(*chosen, ReadSignatureFile(platform, directory, *file));
        }
        // A title without a file is dropped and another drawn, until one is
        // found or the last one has failed too.
        for (;;) {
            std::uint32_t index = Draw(titles.size());
            if (std::optional<FoundFile> file = find(titles[index]))
                return ReadSignatureFile(platform, directory, *file);
            if (titles.size() == 1)
                return NoSignature();
            titles.erase(titles.begin() + index);
        }
    }

    // A quote of the setup's quote file; with the fair order, a file of up to
    // kQuotesByText quotes has its quotes known by place and text (as the lines
    // of the one-line list), a larger one by place alone (hashing every quote
    // at each pick would cost more than reading the file).
    static constexpr std::size_t kQuotesByText = 4096;
    Choice Quote() {
        const std::string path = QuoteFilePath(settings.ReadString(section, kQuoteFileKey, ""),
                                               settings.Path(), platform.AnsiCodePage());
        const QuoteFileLoad load = LoadQuoteFile(platform, path);
        if (!load.quotes)
            return Warning(load.reason);
        const QuoteIndex& quotes = *load.quotes;
        const std::size_t count = quotes.size();
        if (!round || count > Round::kMaxPlaces)
            return Text(quotes.Text(Draw(count), platform));
        if (count > kQuotesByText) {
            auto draw = [this](std::uint32_t n) { return random.Below(n); };
            const std::size_t chosen = round->ChoosePlace(count, draw);
            Choice choice = Text(quotes.Text(chosen, platform));
            round->TakePlace(chosen);
            Kept();
            return choice;
        }
        std::vector<RoundEntry> entries(count);
        for (std::size_t i = 0; i < count; ++i)
            entries[i] = {quotes.Raw(i), static_cast<std::uint32_t>(i + 1)};
        const std::size_t chosen = *Choose(entries);
        return Taken(chosen, Text(quotes.Text(chosen, platform)));
    }

    std::uint32_t Draw(std::size_t n) { return random.Below(static_cast<std::uint32_t>(n)); }

    // Round::Choose over `entries`, which must stay as they are until Taken;
    // every entry is usable unless `usable` says otherwise.
    std::optional<std::size_t> Choose(std::span<const RoundEntry> entries) {
        auto any = [](std::size_t) { return true; };
        return Choose(entries, any);
    }
    std::optional<std::size_t> Choose(std::span<const RoundEntry> entries, Round::Usable usable) {
        offered = entries;
        auto draw = [this](std::uint32_t n) { return random.Below(n); };
        return round->Choose(entries, draw, usable);
    }
    // `choice`, and the entry chosen for it recorded in the round when it is a text.
    Choice Taken(std::size_t chosen, Choice choice) {
        if (choice.kind != Choice::Kind::Text)
            return choice;
        round->Take(offered, chosen);
        Kept();
        return choice;
    }
    // A round loaded from the file goes to the store once it has a pick.
    void Kept() {
        if (round == &loaded)
            rounds.Keep(section, std::move(loaded));
    }
};

}  // namespace

Choice ChooseSignature(const EffectiveSetup& setup, const std::optional<std::string>& directory,
                       const IniSnapshot& settings, Platform& platform, Random& random,
                       RoundStore& rounds) {
    const int mode = setup.mode;
    if (mode != kModeSignatureFile && mode != kModeOneLine && mode != kModeRestricted &&
        mode != kModeQuoteFile)
        return {};  // mode 0 and unknown modes add nothing
    if ((mode == kModeSignatureFile || mode == kModeRestricted) && !directory)
        return NoSignature();
    Pick pick{setup.section, settings, platform, random, rounds};
    if (setup.noRepeat)
        pick.UseFairOrder();
    return mode == kModeSignatureFile ? pick.SignatureFile(*directory)
           : mode == kModeOneLine     ? pick.Line()
           : mode == kModeQuoteFile   ? pick.Quote()
                                      : pick.Restricted(*directory);
}

}  // namespace bk
