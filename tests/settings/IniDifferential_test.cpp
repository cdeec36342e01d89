// The settings engine against the Windows profile functions (kernel32, here
// Wine's): the same files read through both must give the same results, and
// the same edits made through both must leave files that read the same.
//
// A table of chosen files comes first, then a seeded generator of random files,
// reads and edits. The seed is printed; set BK_INI_DIFF_SEED to replay one.
//
// Where the engine differs on purpose, the random cases stay clear of it and a
// test named after the difference shows both behaviours side by side.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>

#include "platform/win32/Win32Platform.h"
#include "settings/CommaText.h"
#include "settings/IniEncoding.h"
#include "settings/IniFile.h"
#include "support/IniWrites.h"
#include "support/TempDir.h"

namespace bk {
namespace {

using namespace std::string_literals;
using test::TempDir;

const char kDefault[] = "<default>";

// ---- kernel32 ----

std::vector<char>& Buffer() {
    static std::vector<char> buffer(1 << 21);
    return buffer;
}

std::string KString(const std::string& path, const std::string& section, const std::string& key,
                    const char* defaultValue = kDefault) {
    auto& b = Buffer();
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue, b.data(),
                                       static_cast<DWORD>(b.size()), path.c_str());
    return std::string(b.data(), n);
}

int KInteger(const std::string& path, const std::string& section, const std::string& key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, path.c_str()));
}

std::vector<std::string> SplitNulList(const char* p, DWORD n) {
    std::vector<std::string> items;
    for (DWORD i = 0; i < n;) {
        std::string item(p + i);
        i += static_cast<DWORD>(item.size()) + 1;
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> KSection(const std::string& path, const std::string& section) {
    auto& b = Buffer();
    DWORD n = GetPrivateProfileSectionA(section.c_str(), b.data(), static_cast<DWORD>(b.size()),
                                        path.c_str());
    return SplitNulList(b.data(), n);
}

std::vector<std::string> KSectionNames(const std::string& path) {
    auto& b = Buffer();
    DWORD n = GetPrivateProfileSectionNamesA(b.data(), static_cast<DWORD>(b.size()), path.c_str());
    return SplitNulList(b.data(), n);
}

// A kernel32 section read in the engine's terms: entries with a value, values
// unquoted (see SectionReadsDifferWhereTheySay).
std::vector<IniEntry> KSectionEntries(const std::string& path, const std::string& section) {
    std::vector<IniEntry> entries;
    for (const std::string& line : KSection(path, section)) {
        std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        entries.push_back({line.substr(0, equals), std::string(Unquote(line.substr(equals + 1)))});
    }
    return entries;
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out.size() > 600 ? out.substr(0, 600) + "...(" + std::to_string(text.size()) + " bytes)"
                            : out;
}

// ---- the comparisons ----

class Differential : public testing::Test {
protected:
    std::string NewFile(std::string_view content) {
        return dir_.Write("c" + std::to_string(++files_) + ".ini", content);
    }
    // A fresh copy of a file, so that kernel32 reads its bytes rather than what
    // it holds in memory from its own writes (Wine keeps profiles by name).
    std::string Reread(const std::string& path) { return NewFile(TempDir::Read(path)); }
    std::vector<IniEntry> Section(const std::string& path, std::string_view section) {
        const IniFile ini(platform_, path);
        return IniBatch(ini).ReadSection(section);
    }
    void Mismatch(const std::string& what) {
        if (++mismatches_ <= 25)
            ADD_FAILURE() << what;
    }
    void TearDown() override { EXPECT_EQ(mismatches_, 0); }

    // Reads of one file through both, for the given keys and sections. The
    // first key goes through IniFile, the rest through one IniSnapshot of it
    // (what each IniFile read makes, without a file open per read, which
    // keeps the run short); sections through the batch the setup dialog reads.
    void CompareReads(const std::string& content,
                      const std::vector<std::pair<std::string, std::string>>& keys,
                      const std::vector<std::string>& sections, const std::string& label) {
        std::string path = NewFile(content);
        IniFile ini(platform_, path);
        const IniSnapshot snapshot(ini);
        bool first = true;
        for (const auto& [section, key] : keys) {
            std::string where = label + " file=\"" + Escaped(content) + "\" section=\"" +
                                Escaped(section) + "\" key=\"" + Escaped(key) + "\"";
            std::string mine = first ? ini.ReadString(section, key, kDefault)
                                     : snapshot.ReadString(section, key, kDefault);
            std::string theirs = KString(path, section, key);
            if (mine != theirs)
                Mismatch("string " + where + ": engine \"" + Escaped(mine) + "\" kernel32 \"" +
                         Escaped(theirs) + "\"");
            // kernel32 reads an integer from its first 29 characters only
            // (IntegerValuesHaveNoLengthCap).
            if (theirs.size() >= 29)
                continue;
            int mineInt = first ? ini.ReadInteger(section, key, -4242)
                                : snapshot.ReadInteger(section, key, -4242);
            int theirsInt = KInteger(path, section, key, -4242);
            if (mineInt != theirsInt)
                Mismatch("integer " + where + ": engine " + std::to_string(mineInt) + " kernel32 " +
                         std::to_string(theirsInt));
            first = false;
        }
        const IniBatch batch(ini);
        for (const std::string& section : sections) {
            auto mine = batch.ReadSection(section);
            auto theirs = KSectionEntries(path, section);
            if (mine != theirs) {
                std::ostringstream s;
                s << "section " << label << " file=\"" << Escaped(content) << "\" section=\""
                  << Escaped(section) << "\": engine";
                for (auto& e : mine) s << " [" << Escaped(e.key) << "=" << Escaped(e.value) << "]";
                s << " kernel32";
                for (auto& e : theirs)
                    s << " [" << Escaped(e.key) << "=" << Escaped(e.value) << "]";
                Mismatch(s.str());
            }
        }
    }

    struct Op {
        bool write;
        std::string section, key, value;
    };

    // The same edits through the engine (one batch, or one call each) and
    // through WritePrivateProfileStringA on two copies of a file; then both
    // files read back through kernel32 must agree on every key.
    void CompareWrites(const std::string& content, const std::vector<Op>& ops, bool batch,
                       const std::string& label) {
        std::string enginePath = NewFile(content), kernelPath = NewFile(content);
        IniFile ini(platform_, enginePath);
        std::string where = label + " file=\"" + Escaped(content) + "\"";
        try {
            IniBatch edits(ini);
            for (const Op& op : ops) {
                where += op.write ? " write[" + Escaped(op.section) + "|" + Escaped(op.key) + "|" +
                                        Escaped(op.value) + "]"
                                  : " delete[" + Escaped(op.section) + "|" + Escaped(op.key) + "]";
                if (batch) {
                    op.write ? edits.WriteString(op.section, op.key, op.value)
                             : edits.DeleteKey(op.section, op.key);
                } else {
                    op.write ? test::WriteString(ini, op.section, op.key, op.value)
                             : test::DeleteKey(ini, op.section, op.key);
                }
            }
            if (batch)
                edits.Commit();
        } catch (const std::exception& e) {
            Mismatch("write " + where + ": engine threw " + e.what());
            return;
        }
        for (const Op& op : ops)
            WritePrivateProfileStringA(op.section.c_str(), op.key.c_str(),
                                       op.write ? op.value.c_str() : nullptr, kernelPath.c_str());
        enginePath = Reread(enginePath);
        kernelPath = Reread(kernelPath);

        auto names = KSectionNames(kernelPath);
        if (KSectionNames(enginePath) != names) {
            Mismatch("section names " + where + ": engine file \"" +
                     Escaped(TempDir::Read(enginePath)) + "\" kernel32 file \"" +
                     Escaped(TempDir::Read(kernelPath)) + "\"");
            return;
        }
        names.push_back("");
        for (const std::string& section : names) {
            auto lines = KSection(kernelPath, section);
            bool same = KSection(enginePath, section) == lines;
            for (const std::string& line : lines) {
                std::string key = line.substr(0, line.find('='));
                same =
                    same && KString(enginePath, section, key) == KString(kernelPath, section, key);
            }
            if (!same)
                Mismatch("keys of [" + Escaped(section) + "] " + where + ": engine file \"" +
                         Escaped(TempDir::Read(enginePath)) + "\" kernel32 file \"" +
                         Escaped(TempDir::Read(kernelPath)) + "\"");
        }
    }

    Win32Platform platform_;
    TempDir dir_;
    int files_ = 0;
    int mismatches_ = 0;
};

// ---- chosen cases ----

struct ChosenRead {
    const char* name;
    std::string file;
};

const ChosenRead kChosen[] = {
    {"quotes",
     "[s]\r\nk=\"q\"\r\nsig0='a'\r\nsig1=\" x "
     "\"\r\nsig2=\"x'\r\nsig3=\"\r\nsig4=\"\"\r\nMode='\r\n"},
    {"blanks around keys and values",
     "[s]\r\n \t k \t = \t v w \t \r\n\x1a"
     "sig0\x1a=\x1a"
     "a\x1a\r\n\vMode\f=\f3\v\r\n"},
    {"blanks in section headers", "[ s ]\r\nk=1\r\n[\tOptions\t]x\r\nMode=2\r\n"},
    {"comments", "; top\r\n[s]\r\n;k=1\r\n  ;sig0=2\r\nk=3\r\n# not a comment=4\r\n"},
    {"duplicate sections and keys", "[s]\r\nk=1\r\nK=2\r\n[t]\r\nk=3\r\n[S]\r\nk=4\r\nsig0=5\r\n"},
    {"lines without =", "[s]\r\nk\r\nsig0\r\nsig0=1\r\n[t\r\nMode=2\r\n"},
    {"empty values", "[s]\r\nk=\r\nsig0=  \r\nMode=\"\"\r\n=x\r\n=y\r\n"},
    {"letter case", "[OPTIONS]\r\nONELINECOUNT=3\r\n[optionsONELINER]\r\nSIG0=a\r\n"},
    {"very long lines", "[s]\r\nk=" + std::string(70000, 'v') + "\r\nsig0=\"" +
                            std::string(40000, ' ') + "\"\r\nMode=" + std::string(35, '7') +
                            "\r\n"},
    {"LF only", "[s]\nk=1\nsig0=2\n[t]\nk=3\n"},
    {"CR only", "[s]\rk=1\rsig0=2\r[t]\rk=3\r"},
    {"mixed line ends", "[s]\na=1\rk=2\n\rsig0=3\r\n\n\rMode=4"},
    {"no final line end", "[s]\r\nk=1\r\nsig0=last"},
    {"UTF-8 mark", "\xef\xbb\xbf[s]\r\nk=1\r\nsig0=\"a\"\r\n"},
    {"UTF-16 mark", "\xff\xfe[\0s\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0s\0i\0g\0\x30\0=\0'\0x\0'\0"s},
    {"UTF-16 big-endian mark", "\xfe\xff\0[\0s\0]\0\n\0k\0=\0\x32"s},
    {"NUL bytes", "[s\0x]\r\nk\0j=v\0w\r\n\0sig0=1\r\nMode=\0\r\n"s},
    {"keys before the first section", "k=top\r\nMode=1\r\n[s]\r\nk=v\r\n"},
    {"header oddities", "[a]b]\r\nk=1\r\n[]\r\nk=2\r\n[ ]\r\nsig0=3\r\n[s]]\r\nk=4\r\n"},
    {"integers",
     "[s]\r\nk=12abc\r\nsig0=-2147483649\r\nsig1=4294967297\r\nsig2=+-5\r\nsig3=\"\x01 "
     "-5\"\r\nMode= -0\r\n"},
    {"empty file", ""},
    {"binary", "\x01\x02\x80\x81\xff[\x90]\x8d=\x9d\r\n\xb1=\xd7"},
};

TEST_F(Differential, ChosenFiles) {
    const std::vector<std::string> sections = {"s", "S",   " s ", "t", "Options", "OptionsOneliner",
                                               "",  "a]b", "[t"};
    const std::vector<std::string> keys = {"k",    "K",    " k ",  "sig0", "SIG1",
                                           "sig2", "sig3", "sig4", "Mode", "OnelineCount",
                                           "",     ";k",   "a",    "\x8d", "\xb1"};
    std::vector<std::pair<std::string, std::string>> queries;
    for (const auto& s : sections)
        for (const auto& k : keys) queries.emplace_back(s, k);
    const std::vector<std::string> sectionReads = {"s", "t",  "Options", "OptionsOneliner",
                                                   "",  "a]b"};
    for (const ChosenRead& c : kChosen) CompareReads(c.file, queries, sectionReads, c.name);
}

TEST_F(Differential, ChosenWrites) {
    const std::string file =
        "; top\r\n[s]\r\nk=1\r\n k2 = \"q\" \r\nbare\r\n; end of s\r\n\r\n[t]\nx=1\n[S]\rk=dup\r";
    CompareWrites(file,
                  {{true, "s", "k", "2"}, {true, "s", "new", " v "}, {true, "t", "y", "\"a b\""}},
                  true, "replace and add");
    CompareWrites(file,
                  {{true, "s", "bare", "now"}, {false, "s", "k", ""}, {true, "u", "k", "'x'"}},
                  false, "bare and delete");
    CompareWrites(file, {{true, "", "top", "1"}, {true, " s", " K ", "3"}, {false, "t", "x", ""}},
                  true, "names trimmed");
    CompareWrites("[s]\r\nk=1", {{true, "s", "k2", "2"}, {true, "t", "k", "3"}}, true,
                  "no final line end");
    CompareWrites("[s]\rk=1\r", {{true, "s", "k2", "2"}}, true, "CR only");
    CompareWrites("\xef\xbb\xbf[s]\r\nk=1\r\n", {{true, "s", "k2", "2"}}, true, "UTF-8");
    CompareWrites("\xff\xfe[\0s\0]\0\r\0\n\0"s, {{true, "s", "k", "2"}, {true, "t", "k", "x"}},
                  true, "UTF-16");
    CompareWrites("",
                  {{true, "OptionsOneliner", "sig0", "\"a\""},
                   {true, "OptionsOneliner", "sig1", "\" b\""},
                   {true, "OptionsOneliner", "sig2", "\"\""},
                   {true, "Options", "OneLineCount", "3"}},
                  true, "legacy migration");
}

// ---- random cases ----

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T>
    const T& OneOf(const std::vector<T>& items) {
        return items[Pick(static_cast<int>(items.size()))];
    }

    std::string Blanks() {
        return OneOf<std::string>({"", "", "", " ", "\t", "  ", "\x1a", "\v", "\f", " \t "});
    }

    std::string CaseVariant(std::string text) {
        for (char& c : text)
            if (Chance(30) && std::isalpha(static_cast<unsigned char>(c)))
                c ^= 0x20;
        return text;
    }

    // Random text over an alphabet with everything that means something in a
    // settings file. Non-ASCII bytes are ones without a letter case and no
    // blanks (see LettersFoldAsTheCodePageSays, NoBreakSpaceIsABlankAsTheCodePageSays).
    std::string Junk(int maxLength, bool withBrackets) {
        static const std::string alphabet = "abkK01-+=;\"' \t\x1a\x80\x81\xb1\xd7\xf7\xdf"s;
        std::string text;
        for (int n = Pick(maxLength + 1); n > 0; --n) {
            char c = alphabet[Pick(static_cast<int>(alphabet.size()))];
            if (withBrackets && Chance(8))
                c = Chance(50) ? '[' : ']';
            text += c;
        }
        return text;
    }

    std::string Section() {
        return OneOf<std::string>({"s", "s", "Options", "OptionsOneliner", "t", "a b", "x]y"});
    }
    std::string Key() {
        return OneOf<std::string>({"k", "k", "sig0", "sig1", "Mode", "a b", ";c", "[q"});
    }
    std::string Value() {
        if (Chance(25))
            return Junk(12, true);
        // Long, but within what WritePrivateProfileStringA can pass on
        // (ValuesLongerThanKernel32CanWrite).
        if (Chance(1))
            return std::string(Pick(30000), 'v');
        return OneOf<std::string>({"", "1", "-7", "\"q\"", "' x '", "\"", "'", "12abc", "\"\"",
                                   "a=b", "4294967297", " 99 ", " \"3\" ", "\"a\",\"b\"",
                                   "\x01"
                                   "5",
                                   "-"});
    }

    // A settings file. `forWrites`: nothing that kernel32's writer would turn
    // into something else (a header with an empty name loses its header; a
    // name that starts with NUL loses its line).
    std::string File(bool forWrites, bool asciiOnly) {
        std::string text;
        int style = Pick(4);  // CR LF, LF, CR, mixed
        int lines = Pick(16);
        for (int i = 0; i < lines; ++i) {
            int kind = Pick(100);
            if (kind < 20) {
                text += Blanks() + "[" + Blanks() + CaseVariant(Section()) + Blanks() + "]";
                if (Chance(10))
                    text += Junk(5, false);
            } else if (kind < 65) {
                text +=
                    Blanks() + CaseVariant(Key()) + Blanks() + "=" + Blanks() + Value() + Blanks();
            } else if (kind < 73) {
                text += Blanks() + CaseVariant(Key()) + Blanks();
            } else if (kind < 80) {
                text += ";" + Junk(10, true);
            } else if (kind < 88) {
                text += Blanks();
            } else {
                text += Junk(20, !forWrites);
            }
            if (!forWrites && Chance(4))
                text.insert(text.size() - Pick(std::min<int>(4, static_cast<int>(text.size())) + 1),
                            1, '\0');
            if (i + 1 == lines && Chance(20))
                break;
            int end = style == 3 ? Pick(3) : style;
            text += end == 0 ? "\r\n" : end == 1 ? "\n" : "\r";
        }
        if (asciiOnly)
            for (char& c : text)
                if (static_cast<unsigned char>(c) >= 0x80)
                    c = 'x';
        return text;
    }

    std::string Encode(const std::string& ascii) {
        int kind = Pick(100);
        if (kind < 6)
            return "\xef\xbb\xbf" + ascii;
        if (kind < 12) {
            std::string utf16 = "\xff\xfe";
            for (char c : ascii) utf16 += std::string{c, '\0'};
            return utf16;
        }
        return ascii;
    }

private:
    std::mt19937 random_;
};

unsigned Seed() {
    const char* text = std::getenv("BK_INI_DIFF_SEED");
    if (text && std::string(text) == "time")
        return static_cast<unsigned>(GetTickCount());
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20261208u;
}

constexpr int kRandomReadCases = 2000;
constexpr int kRandomWriteCases = 600;

TEST_F(Differential, RandomFilesAndReads) {
    unsigned seed = Seed();
    std::printf("random reads: seed %u (BK_INI_DIFF_SEED=%u to replay, =time for a new one)\n",
                seed, seed);
    Generator g(seed);
    for (int i = 0; i < kRandomReadCases && mismatches_ < 25; ++i) {
        bool encoded = g.Chance(12);
        std::string file = g.File(false, encoded);
        if (encoded)
            file = g.Encode(file);
        std::vector<std::pair<std::string, std::string>> queries;
        for (int q = 0; q < 8; ++q) {
            std::string section = g.Chance(10) ? "" : g.CaseVariant(g.Section());
            queries.emplace_back(g.Blanks() + section + g.Blanks(),
                                 g.Blanks() + g.CaseVariant(g.Key()) + g.Blanks());
        }
        CompareReads(file, queries, {g.Section(), g.Section(), ""},
                     "seed " + std::to_string(seed) + " case " + std::to_string(i));
    }
}

TEST_F(Differential, RandomEdits) {
    unsigned seed = Seed() + 1;
    std::printf("random edits: seed %u (BK_INI_DIFF_SEED=%u to replay)\n", seed, seed - 1);
    Generator g(seed);
    for (int i = 0; i < kRandomWriteCases && mismatches_ < 25; ++i) {
        bool encoded = g.Chance(12);
        std::string file = g.File(true, encoded);
        if (encoded)
            file = g.Encode(file);
        std::vector<Op> ops;
        for (int n = 1 + g.Pick(6); n > 0; --n) {
            if (g.Chance(75)) {
                std::string value = g.Value();
                if (encoded)
                    for (char& c : value)
                        if (static_cast<unsigned char>(c) >= 0x80)
                            c = 'x';
                std::string key = g.CaseVariant(g.Key());
                if (key.front() == '[' && value.find(']') != std::string::npos)
                    continue;  // refused
                ops.push_back({true, g.Blanks() + g.CaseVariant(g.Section()),
                               g.Blanks() + key + g.Blanks(), value});
            } else {
                ops.push_back({false, g.CaseVariant(g.Section()), g.CaseVariant(g.Key()), ""});
            }
        }
        CompareWrites(file, ops, g.Chance(70),
                      "seed " + std::to_string(seed) + " case " + std::to_string(i));
    }
}

// ---- deliberate differences, each shown against kernel32 ----

// kernel32 reads an integer from the first 29 characters of its value; the
// engine has no length caps.
TEST_F(Differential, IntegerValuesHaveNoLengthCap) {
    std::string path = NewFile("[s]\r\nk=" + std::string(40, '0') + "12\r\n");
    EXPECT_EQ(KInteger(path, "s", "k", 7), 0);
    EXPECT_EQ(IniFile(platform_, path).ReadInteger("s", "k", 7), 12);
}

// Where a section read differs from kernel32's on purpose: values come as a
// string read gives them (quotes removed), which is what the setup dialog
// shows; only key and value pairs are listed (kernel32 also lists the bare
// name of a line without "="); the requested name is trimmed, as by every read.
TEST_F(Differential, SectionReadsDifferWhereTheySay) {
    const struct {
        std::string file, section;
        std::vector<std::string> theirs;
        std::vector<IniEntry> mine;
    } cases[] = {
        {"[s]\r\nsig0=\" x \"\r\n", "s", {"sig0=\" x \""}, {{"sig0", " x "}}},
        {"[s]\r\nbare\r\nk=1\r\n", "s", {"bare", "k=1"}, {{"k", "1"}}},
        {"[s]\r\nk=1\r\n", " s ", {}, {{"k", "1"}}},
    };
    for (const auto& c : cases) {
        std::string path = NewFile(c.file);
        EXPECT_EQ(KSection(path, c.section), c.theirs) << c.file;
        EXPECT_EQ(Section(path, c.section), c.mine) << c.file;
    }
}

// A delete finds its key as a read does: names trimmed, first section of the
// name only. kernel32 does not trim and goes on into later sections of the
// same name, which no read ever sees.
TEST_F(Differential, DeleteFindsTheKeyAsAReadDoes) {
    const std::string content = "[s]\r\na=1\r\n[s]\r\nb=2\r\n";
    std::string mine = NewFile(content), theirs = NewFile(content);
    test::DeleteKey(IniFile(platform_, mine), "s", " a ");
    test::DeleteKey(IniFile(platform_, mine), "s", "b");
    WritePrivateProfileStringA("s", " a ", nullptr, theirs.c_str());
    WritePrivateProfileStringA("s", "b", nullptr, theirs.c_str());
    EXPECT_EQ(KString(Reread(mine), "s", "a"), kDefault);
    EXPECT_EQ(KString(Reread(theirs), "s", "a"), "1");
    EXPECT_EQ(TempDir::Read(mine), "[s]\r\n[s]\r\nb=2\r\n");
    EXPECT_EQ(TempDir::Read(theirs), "[s]\r\na=1\r\n[s]\r\n");
}

// The default comes back exactly as given; kernel32 drops its trailing spaces
// and, when the file exists, its enclosing quotes.
TEST_F(Differential, DefaultComesBackAsGiven) {
    std::string path = NewFile("[s]\r\n");
    EXPECT_EQ(KString(path, "s", "k", "\"d \""), "d ");
    EXPECT_EQ(KString(path, "s", "k", "d  "), "d");
    EXPECT_EQ(IniFile(platform_, path).ReadString("s", "k", "\"d \""), "\"d \"");
}

// Names fold in the system code page as Windows folds them (É and é are one
// letter in code page 1252); Wine's profile functions fold ASCII letters only.
TEST_F(Differential, LettersFoldAsTheCodePageSays) {
    ASSERT_EQ(GetACP(), 1252u);
    std::string path = NewFile("[\xc9t\xe9]\r\nk\xe9=1\r\n");
    EXPECT_EQ(KString(path, "\xe9T\xc9", "K\xc9"), kDefault);
    EXPECT_EQ(IniFile(platform_, path).ReadString("\xe9T\xc9", "K\xc9", kDefault), "1");
}

// Blanks are the code page's blanks (and ^Z): in code page 1252 that includes
// the no-break space, which Wine's profile functions leave in place.
TEST_F(Differential, NoBreakSpaceIsABlankAsTheCodePageSays) {
    std::string path = NewFile("[s]\r\nk\xa0=\xa0v\xa0\r\n");
    EXPECT_EQ(KString(path, "s", "k"), kDefault);
    EXPECT_EQ(KString(path, "s", "k\xa0"), "\xa0v\xa0");
    EXPECT_EQ(IniFile(platform_, path).ReadString("s", "k", kDefault), "v");
}

// In a file with a byte-order mark, names and values are text of the system
// code page both ways, as kernel32 converts them (a character that code page
// lacks included); the file keeps its encoding.
TEST_F(Differential, UnicodeFilesSpeakTheSystemCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::string section =
        "Gr\xfc\xdf"
        "e";
    const std::vector<std::string> values = {"caf\xc3\xa9", "\xe2\x86\x92", "\xc4\x81",
                                             "\xe2\x82\xac", "\xf0\x9f\x98\x80"};
    std::string text =
        "[Gr\xc3\xbc\xc3\x9f"
        "e]\r\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        text += "k" + std::to_string(i) + "=" + values[i] + "\r\n";
    for (IniEncoding encoding : {IniEncoding::Utf8, IniEncoding::Utf16Le}) {
        std::string path = NewFile(EncodeIniFile(encoding, text, ""));
        IniFile ini(platform_, path);
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::string key = "K" + std::to_string(i);
            EXPECT_EQ(ini.ReadString(section, key, kDefault), KString(path, section, key)) << i;
        }
        test::WriteString(ini, section, "neu\xe9", "\xe9\x80");
        EXPECT_EQ(KString(Reread(path), section, "neu\xe9"), "\xe9\x80");
        EXPECT_EQ(DecodeIniFile(TempDir::Read(path)).encoding, encoding);
    }
}

// A name or value with a line break is refused; kernel32 writes it and the
// file gains a line.
TEST_F(Differential, LineBreaksAreRefused) {
    const std::string content = "[s]\r\nk=1\r\n";
    std::string mine = NewFile(content), theirs = NewFile(content);
    WritePrivateProfileStringA("s", "k", "2\r\ninjected=1", theirs.c_str());
    EXPECT_EQ(KString(Reread(theirs), "s", "injected"), "1");
    EXPECT_THROW(test::WriteString(IniFile(platform_, mine), "s", "k", "2\r\ninjected=1"),
                 SettingsError);
    EXPECT_EQ(TempDir::Read(mine), content);
}

// Edits keep every other line as it was. kernel32 rewrites the whole file from
// what it parsed, which drops the header of a section with an empty name and
// so moves its keys into the section before it.
TEST_F(Differential, EditsKeepOtherLinesAsTheyWere) {
    const std::string content = "[a]\r\nx=1\r\n[]\r\ny=2\r\n";
    std::string mine = NewFile(content), theirs = NewFile(content);
    test::WriteString(IniFile(platform_, mine), "b", "k", "v");
    WritePrivateProfileStringA("b", "k", "v", theirs.c_str());
    EXPECT_EQ(TempDir::Read(mine), content + "[b]\r\nk=v\r\n");
    EXPECT_EQ(KString(Reread(mine), "a", "y"), kDefault);
    EXPECT_EQ(KString(Reread(theirs), "a", "y"), "2");
}

// No length caps: a value longer than the 32,767 characters that
// WritePrivateProfileStringA can pass on is written and read back whole.
TEST_F(Differential, ValuesLongerThanKernel32CanWrite) {
    const std::string value(40000, 'v');
    std::string mine = NewFile("[s]\r\n"), theirs = NewFile("[s]\r\n");
    test::WriteString(IniFile(platform_, mine), "s", "k", value);
    WritePrivateProfileStringA("s", "k", value.c_str(), theirs.c_str());
    EXPECT_EQ(KString(Reread(mine), "s", "k"), value);
    EXPECT_NE(KString(Reread(theirs), "s", "k"), value);
    EXPECT_EQ(IniFile(platform_, mine).ReadString("s", "k", ""), value);
}

}  // namespace
}  // namespace bk
