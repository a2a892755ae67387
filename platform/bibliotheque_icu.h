#pragma once

// ICU's common library and its data, loaded the first time a program needs
// them rather than at every start: most exports (UTF-8 answers, ASCII host
// names, no regional settings) never do, and loading them cost each start
// about as much as reading a small answer.

#include <unicode/ucnv.h>
#include <unicode/uchar.h>
#include <unicode/uidna.h>
#include <unicode/uloc.h>
#include <unicode/ures.h>

namespace tq {

// The library's functions that this program calls, under their own names.
struct TBibliothequeIcu {
    decltype(&::ucnv_open) ucnv_open;
    decltype(&::ucnv_close) ucnv_close;
    decltype(&::ucnv_toUnicode) ucnv_toUnicode;
    decltype(&::u_isalpha) u_isalpha;
    decltype(&::u_isJavaSpaceChar) u_isJavaSpaceChar;
    decltype(&::uidna_openUTS46) uidna_openUTS46;
    decltype(&::uidna_nameToASCII_UTF8) uidna_nameToASCII_UTF8;
    decltype(&::uidna_close) uidna_close;
    decltype(&::uloc_getParent) uloc_getParent;
    decltype(&::ures_open) ures_open;
    decltype(&::ures_openDirect) ures_openDirect;
    decltype(&::ures_close) ures_close;
    decltype(&::ures_getByKey) ures_getByKey;
    decltype(&::ures_getByIndex) ures_getByIndex;
    decltype(&::ures_getType) ures_getType;
    decltype(&::ures_getString) ures_getString;
    decltype(&::ures_getStringByKey) ures_getStringByKey;
    decltype(&::ures_getLocaleByType) ures_getLocaleByType;
};

// The library, loaded on the first call and kept until the program ends; null
// when it cannot be loaded, which each caller takes as not finding what it
// asked the library for (a code page, a host name, a locale's data).
const TBibliothequeIcu* BibliothequeIcu();

} // namespace tq
