#pragma once
// Signature files: how the host names the signature files of a mailbox, as
// the picker searches them and the selection dialog lists them.
//
// A signature file lies in a mailbox directory and is named "$$$", five
// hexadecimal digits (the signature's number), the signature's title, ".txt".
// Its title is what a restricted list ("SelectedSigs") stores. Directories
// given here end in "\"; names are appended to them directly.

#include <stdexcept>
#include <string>
#include <string_view>

namespace bk {

// A file name whose five characters after "$$$" are not a hexadecimal number.
// The message names the text that failed ("$" and those five characters).
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

struct SignatureName {
    int number = 0;
    std::string title;  // may be empty
};
// Number and title of a found file's name. Throws SignatureNumberError when
// the five characters after "$$$" are not all hexadecimal digits (a name too
// short to hold them included).
SignatureName ParseSignatureFileName(std::string_view name);

}  // namespace bk
