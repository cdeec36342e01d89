#pragma once
// A reader of the parts of a 32-bit PE image that the DLL checks look at:
// machine, export names, imported DLL and function names, the version resource's strings, and
// what stripping leaves (symbols, section names, the debug link).
// Pure C++ on the file's bytes, so it needs no Windows loader.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace bk::test {

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::vector<std::string> exports;  // names, as the export directory lists them
    std::vector<std::string> imports;  // DLL names
    // DLL name -> the functions imported from it by name ("#<n>" by ordinal)
    std::map<std::string, std::vector<std::string>> importedFunctions;
    std::map<std::string, std::string> versionStrings;  // StringFileInfo key -> value
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0;
    std::uint32_t symbolCount = 0;          // COFF symbol table entries
    std::vector<std::string> sectionNames;  // long names resolved through the string table
    std::string debugLink;                  // the file named by .gnu_debuglink, if any
};

// Throws std::runtime_error when the bytes are not a PE image it can read.
PeImage ReadPeImage(const std::string& bytes);

}  // namespace bk::test
