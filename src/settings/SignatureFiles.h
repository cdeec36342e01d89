#pragma once
// How the host names the signature files of a mailbox directory, for the
// picker's searches and the selection dialog's list: "$$$", five hexadecimal
// digits (the signature's number), the title (what "SelectedSigs" stores),
// ".txt". Directories end in "\"; names are appended to them directly.

#include <stdexcept>
#include <string>
#include <string_view>

namespace bk {

class Platform;

// A name whose five characters after "$$$" are not a hexadecimal number; the
// message names them ("$" and the five).
class SignatureNumberError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The pattern that finds every signature file of `directory`.
std::string SignatureSearchPattern(std::string_view directory);
// The pattern that finds the signature files titled `title` ("?" for each digit).
std::string SignatureTitlePattern(std::string_view directory, std::string_view title);

// The name of signature `number` titled `title`, the digits in upper case.
std::string SignatureFileName(unsigned number, std::string_view title);

// The text of a signature file for the message and the preview: a file that
// starts with a UTF-8 or UTF-16 byte-order mark is converted to the system
// code page without the mark; any other file is taken byte for byte, as the
// host's own signature files are written.
std::string SignatureText(std::string fileBytes, Platform& platform);

struct SignatureName {
    int number = 0;
    std::string title;  // may be empty
};
// Number and title of a found file's name. Throws SignatureNumberError (a
// name too short to hold five digits included).
SignatureName ParseSignatureFileName(std::string_view name);

}  // namespace bk
