#include "json/strict/document_strict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace js = tq::json_strict;

std::u16string TexteDe(const std::string& source)
{
    const std::optional<js::TDocument> document = js::ParseDocument(source, 0);
    if (!document)
        return u"(illisible)";
    return js::ValueText(document->Racine(), u',');
}

// An integer of up to eleven characters is written back without going
// through a double; it must read exactly as the same number with ".0"
// appended, which takes the general number format.
TEST(EntiersCourts, CommeLeFormatGeneral)
{
    const char* const cas[] = {
        "0",          "-0",         "7",           "-7",          "10",          "-10",         "100",
        "42",         "999",        "1000",        "65535",       "100000",      "2147483647",  "-2147483648",
        "4294967296", "9999999999", "99999999999", "10000000000", "-9999999999", "12345678901",
    };
    for (const char* source : cas) {
        SCOPED_TRACE(source);
        EXPECT_EQ(TexteDe(source), TexteDe(std::string(source) + ".0"));
    }
    for (std::string nombre = "1"; nombre.size() <= 11; nombre += std::to_string(nombre.size() % 10)) {
        SCOPED_TRACE(nombre);
        EXPECT_EQ(TexteDe(nombre), TexteDe(nombre + ".0"));
        if (nombre.size() <= 10) {
            EXPECT_EQ(TexteDe("-" + nombre), TexteDe("-" + nombre + ".0"));
        }
    }
}

} // namespace
