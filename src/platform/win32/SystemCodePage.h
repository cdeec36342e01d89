#pragma once
// The tables of a CodePage taken from Windows itself, for one code page number.
//
// Lead bytes are those IsDBCSLeadByteEx names. Every other byte is converted to
// Unicode: it is a blank when GetStringTypeW calls that character a space, and
// its upper-case form is the Unicode upper case converted back, kept only when
// that is again a single byte (so "y diaeresis" folds in 1252, "micro sign" does
// not). Bytes that do not convert stay as they are and are not blanks.

#include "platform/CodePage.h"

namespace bk {

CodePage SystemCodePage(unsigned number);

}  // namespace bk
