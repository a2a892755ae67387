#include "platform/decodage_charset.h"

#include "platform/charset_xml.h"
#include "platform/charsets_enregistres.h"
#include "platform/conversion_plateforme.h"
#include "platform/registre_charsets.h"
#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>

using namespace std::literals;

namespace tq {
namespace {

std::string TousLesOctets()
{
    std::string octets;
    for (int b = 0; b < 256; ++b)
        octets.push_back(static_cast<char>(b));
    return octets;
}

// Code units in hexadecimal, so that a failing row shows what came out.
std::string Unites(std::u16string_view texte)
{
    std::string s;
    char tampon[8];
    for (char16_t c : texte) {
        std::snprintf(tampon, sizeof tampon, "%04X ", unsigned(c));
        s += tampon;
    }
    return s;
}

TEST(DecodageCharset, SingleByteRulesOverAllBytes)
{
    struct Cas {
        const char* nom;
        std::string_view charset;
        bool asciiStrict;
    };
    const Cas cas[] = {
        { "no_charset", "", false },
        { "unknown_name", "x-inconnu", false },
        { "utf8_without_dash_is_not_registered", "utf8", false },
        { "iso_8859_1", "ISO-8859-1", false },
        { "latin1_alias", "latin1", false },
        { "us_ascii", "us-ascii", true },
        { "ascii_alias", "ANSI_X3.4-1968", true },
        { "cp437", "IBM437", true },
        { "windows_1252", "windows-1252", true },
    };
    const std::string octets = TousLesOctets();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::u16string texte = DecoderCorps(octets, "application/json", c.charset);
        ASSERT_EQ(texte.size(), 256u);
        for (int b = 0; b < 256; ++b) {
            const char16_t attendu = (c.asciiStrict && b >= 0x80) ? char16_t(0xFFFD) : char16_t(b);
            ASSERT_EQ(unsigned(texte[b]), unsigned(attendu)) << "octet " << b;
        }
    }
}

TEST(DecodageCharset, NamedRows)
{
    struct Cas {
        const char* nom;
        std::string_view octets;
        std::string_view charset;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "e_acute_utf8", "\xC3\xA9"sv, "utf-8", u"\u00E9" },
        { "e_acute_utf8_upper_case_name", "\xC3\xA9"sv, "UTF-8", u"\u00E9" },
        { "e_acute_csutf8", "\xC3\xA9"sv, "csUTF8", u"\u00E9" },
        { "e_acute_no_charset", "\xC3\xA9"sv, "", u"\u00C3\u00A9" },
        { "e_acute_latin1", "\xE9"sv, "iso-8859-1", u"\u00E9" },
        { "e_acute_windows_1252", "\xC3\xA9"sv, "windows-1252", u"\uFFFD\uFFFD" },
        { "euro_utf8", "\xE2\x82\xAC"sv, "utf-8", u"\u20AC" },
        { "euro_iso_8859_15", "\xA4"sv, "ISO-8859-15", u"\u20AC" },
        { "euro_latin9_alias", "\xA4"sv, "latin-9", u"\u20AC" },
        { "euro_windows_1250", "\x80"sv, "windows-1250", u"\u20AC" },
        { "oe_ligature_iso_8859_15", "\xBD"sv, "iso-8859-15", u"\u0153" },
        { "koi8_r", "\xC1\xE1"sv, "KOI8-R", u"\u0430\u0410" },
        { "cp850", "\x82\x85"sv, "IBM850", u"\u00E9\u00E0" },
        { "ebcdic_037", "\xC1\x81\xF1"sv, "IBM037", u"Aa1" },
        { "shift_jis", "\x82\xA0"sv, "Shift_JIS", u"\u3042" },
        { "library_lacks_code_page", "\xC1"sv, "IBM423", u"\u00C1" },
        { "utf16le", "A\x00\xE9\x00"sv, "utf-16le", u"A\u00E9" },
        { "utf16_is_little_endian", "A\x00\xE9\x00"sv, "utf-16", u"A\u00E9" },
        { "utf16be",
          "\x00"
          "A\x00\xE9"sv,
          "UTF-16BE", u"A\u00E9" },
        { "utf16le_surrogate_pair", "\x3D\xD8\x00\xDE"sv, "utf-16le", u"\U0001F600" },
        { "utf16le_odd_last_byte", "A\x00\x42"sv, "utf-16le", u"A\uFFFD" },
        { "utf32le", "A\x00\x00\x00\xAC\x20\x00\x00"sv, "UTF-32LE", u"A\u20AC" },
        { "utf32be",
          "\x00\x00\x00"
          "A\x00\x01\xF6\x00"sv,
          "UTF-32BE", u"A\U0001F600" },
        { "utf7_rfc_example", "Hi Mom -+Jjo--!"sv, "utf-7", u"Hi Mom -\u263A-!" },
        { "utf7_final_char_without_dash", "+AOk"sv, "UTF-7", u"\u00E9" },
        { "utf7_final_char_with_dash", "a+AOk-"sv, "utf-7", u"a\u00E9" },
        { "utf7_plus_minus", "1 +- 1"sv, "utf-7", u"1 + 1" },
        { "utf8_bom_kept", "\xEF\xBB\xBF{}"sv, "utf-8", u"\uFEFF{}" },
        { "empty_body", ""sv, "utf-8", u"" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::u16string texte = DecoderCorps(c.octets, "text/plain", c.charset);
        EXPECT_EQ(texte, c.attendu) << Unites(texte);
    }
}

TEST(DecodageCharset, Utf8EveryScalarValueRoundTrips)
{
    std::u16string tous;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        if (c < 0x10000) {
            tous.push_back(static_cast<char16_t>(c));
        } else {
            tous.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            tous.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    const std::string octets = VersUtf8(tous);
    const std::u16string texte = DecoderCodePage(octets, CodePageUtf8);
    ASSERT_EQ(texte.size(), tous.size());
    EXPECT_TRUE(texte == tous);
}

TEST(DecodageCharset, Utf8IllFormedSequences)
{
    struct Cas {
        const char* nom;
        std::string_view octets;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "lone_continuation", "a\x80z"sv, u"a\uFFFDz" },
        { "c0_overlong", "\xC0\xAF"sv, u"\uFFFD\uFFFD" },
        { "c1_overlong", "\xC1\xBF"sv, u"\uFFFD\uFFFD" },
        { "truncated_two_byte_at_end", "a\xC3"sv, u"a\uFFFD" },
        { "two_byte_lead_then_ascii", "\xC3z"sv, u"\uFFFDz" },
        { "truncated_three_byte", "\xE2\x82z"sv, u"\uFFFDz" },
        { "truncated_three_byte_at_end", "\xE2\x82"sv, u"\uFFFD" },
        { "e0_overlong", "\xE0\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD" },
        { "surrogate_encoded", "\xED\xA0\x80"sv, u"\uFFFD\uFFFD\uFFFD" },
        { "last_before_surrogates", "\xED\x9F\xBF"sv, u"\uD7FF" },
        { "truncated_four_byte", "\xF0\x9F\x98z"sv, u"\uFFFDz" },
        { "f0_overlong", "\xF0\x80\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD\uFFFD" },
        { "above_10ffff", "\xF4\x90\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD\uFFFD" },
        { "f5_lead", "\xF5\x80"sv, u"\uFFFD\uFFFD" },
        { "ff_byte", "\xFF"sv, u"\uFFFD" },
        { "highest_scalar", "\xF4\x8F\xBF\xBF"sv, u"\U0010FFFF" },
        { "ascii_run_then_multibyte", "abcdefghij\xC3\xA9klmnopqrs"sv, u"abcdefghij\u00E9klmnopqrs" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::u16string texte = DecoderCodePage(c.octets, CodePageUtf8);
        EXPECT_EQ(texte, c.attendu) << Unites(texte);
    }
}

TEST(DecodageCharset, XmlMarksAndDeclarations)
{
    struct Cas {
        const char* nom;
        std::string_view typeMedia;
        std::string_view charset;
        std::string_view octets;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "ucs4be_mark", "application/xml", "", "\x00\x00\xFE\xFF\x00\x00\x00\x41"sv, u"A" },
        { "ucs4le_mark", "application/xml", "", "\xFF\xFE\x00\x00\x41\x00\x00\x00"sv, u"A" },
        { "ucs4_2143_mark_names_nothing", "application/xml", "", "\x00\x00\xFF\xFE\xE9"sv, u"\u00E9" },
        { "ucs4_3412_mark_names_nothing", "application/xml", "", "\xFE\xFF\x00\x00\xE9"sv, u"\u00E9" },
        { "utf16be_mark", "application/xml", "", "\xFE\xFF\x00\xE9"sv, u"\u00E9" },
        { "utf16le_mark", "application/xml", "", "\xFF\xFE\xE9\x00"sv, u"\u00E9" },
        { "utf8_mark_dropped", "application/xml", "", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "mark_beats_header_charset", "application/xml", "iso-8859-1", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "two_bytes_are_no_mark", "application/xml", "", "\xFF\xFE"sv, u"\u00FF\u00FE" },
        { "header_charset_not_used", "application/xml", "utf-8", "\xC3\xA9\x20\x20"sv, u"\u00C3\u00A9  " },
        { "ascii_declaration_double_quotes", "application/xml", "",
          "<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xC3\xA9</a>"sv,
          u"<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\u00E9</a>" },
        { "ascii_declaration_single_quotes_blanks", "application/xml", "",
          "<?xml version='1.0' encoding = 'windows-1250'?>\x80"sv,
          u"<?xml version='1.0' encoding = 'windows-1250'?>\u20AC" },
        { "declaration_without_encoding", "application/xml", "", "<?xml version=\"1.0\"?>\xC3\xA9"sv,
          u"<?xml version=\"1.0\"?>\u00C3\u00A9" },
        { "encoding_after_the_declaration_ignored", "application/xml", "",
          "<?xml version=\"1.0\"?><a encoding=\"utf-8\">\xC3\xA9</a>"sv,
          u"<?xml version=\"1.0\"?><a encoding=\"utf-8\">\u00C3\u00A9</a>" },
        { "utf16le_declaration", "application/xml", "",
          "<\0?\0x\0m\0l\0 \0e\0n\0c\0o\0d\0i\0n\0g\0=\0'\0U\0T\0F\0-\0"
          "1\0"
          "6\0'\0?\0>\0\xE9\0"sv,
          u"<?xml encoding='UTF-16'?>\u00E9" },
        { "utf16be_declaration", "application/xml", "",
          "\0<\0?\0x\0m\0l\0 \0e\0n\0c\0o\0d\0i\0n\0g\0=\0'\0U\0T\0F\0-\0"
          "1\0"
          "6\0B\0E\0'\0?\0>\0\xE9"sv,
          u"<?xml encoding='UTF-16BE'?>\u00E9" },
        { "ucs4le_declaration", "application/xml", "",
          "<\0\0\0?\0\0\0x\0\0\0m\0\0\0l\0\0\0 \0\0\0e\0\0\0n\0\0\0c\0\0\0o\0\0\0d\0\0\0i\0\0\0n\0\0\0g\0\0\0"
          "=\0\0\0'\0\0\0U\0\0\0T\0\0\0F\0\0\0-\0\0\0"
          "3\0\0\0"
          "2\0\0\0L\0\0\0E\0\0\0'\0\0\0>\0\0\0\xE9\0\0\0"sv,
          u"<?xml encoding='UTF-32LE'>\u00E9" },
        { "ucs4be_declaration", "application/xml", "",
          "\0\0\0<\0\0\0?\0\0\0x\0\0\0m\0\0\0l\0\0\0 \0\0\0e\0\0\0n\0\0\0c\0\0\0o\0\0\0d\0\0\0i\0\0\0n\0\0\0g"
          "\0\0\0=\0\0\0'\0\0\0U\0\0\0T\0\0\0F\0\0\0-\0\0\0"
          "3\0\0\0"
          "2\0\0\0B\0\0\0E\0\0\0'\0\0\0>\0\0\0\xE9"sv,
          u"<?xml encoding='UTF-32BE'>\u00E9" },
        // <?xml encoding="IBM037"?>A in EBCDIC.
        { "ebcdic_declaration", "application/xml", "",
          "\x4C\x6F\xA7\x94\x93\x40\x85\x95\x83\x96\x84\x89\x95\x87\x7E\x7F\xC9\xC2\xD4\xF0\xF3\xF7\x7F\x6F\x6E\xC1"sv,
          u"<?xml encoding=\"IBM037\"?>A" },
        { "other_xml_media_types", "application/xml-dtd", "", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "external_parsed_entity", "application/xml-external-parsed-entity", "", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "plus_xml_suffix", "application/atom+xml", "", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "media_type_case_and_parameters", "Application/XML; q=1", "", "\xEF\xBB\xBF\xC3\xA9"sv, u"\u00E9" },
        { "text_xml_uses_header_charset", "text/xml", "utf-8", "\xEF\xBB\xBF\xC3\xA9"sv, u"\uFEFF\u00E9" },
        { "text_plus_xml_uses_header_charset", "text/foo+xml", "utf-8", "\xEF\xBB\xBF\xC3\xA9"sv, u"\uFEFF\u00E9" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::u16string texte = DecoderCorps(c.octets, c.typeMedia, c.charset);
        EXPECT_EQ(texte, c.attendu) << Unites(texte);
    }
}

TEST(DecodageCharset, DeclaredCharsetAndMarkLength)
{
    struct Cas {
        const char* nom;
        std::string_view octets;
        std::string_view charset;
        std::size_t longueurMarque;
    };
    const Cas cas[] = {
        { "utf8_mark", "\xEF\xBB\xBFx"sv, "UTF-8", 3 },
        { "ucs4be_mark_wins_over_utf16", "\x00\x00\xFE\xFF"sv, "UCS-4BE", 4 },
        { "ucs4le_mark_wins_over_utf16", "\xFF\xFE\x00\x00"sv, "UCS-4LE", 4 },
        { "utf16le_mark_three_bytes", "\xFF\xFE\x00"sv, "UTF-16LE", 2 },
        { "declaration_missing_closing_bracket", "<?xml encoding=\"utf-8\""sv, "", 0 },
        { "declaration_needs_blank_after_xml", "<?xmlencoding=\"utf-8\"?>"sv, "", 0 },
        { "attribute_name_must_stand_alone", "<?xml xencoding=\"utf-8\"?>"sv, "", 0 },
        { "unterminated_quote", "<?xml encoding=\"utf-8?>"sv, "", 0 },
        { "three_bytes_without_mark", "<?x"sv, "", 0 },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TCharsetXml declare = CharsetDeclareXml(c.octets);
        EXPECT_EQ(declare.charset, c.charset);
        EXPECT_EQ(declare.longueurMarque, c.longueurMarque);
    }
}

TEST(RegistreCharsets, NamesAreUniqueWithoutCase)
{
    std::set<std::string> vus;
    for (const TNomCharset& entree : CharsetsEnregistres) {
        std::string cle;
        for (char c : entree.nom)
            cle.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        EXPECT_TRUE(vus.insert(cle).second) << "duplicate name " << entree.nom;
        EXPECT_EQ(CodePageCharset(cle), entree.codePage) << entree.nom;
    }
}

TEST(RegistreCharsets, EveryNamedConverterExists)
{
#ifdef _WIN32
    GTEST_SKIP() << "the converter names are those of the conversion library (ICU), which Windows does not use";
#endif
    for (const TNomCharset& entree : CharsetsEnregistres) {
        SCOPED_TRACE(std::string(entree.nom));
        const std::string_view convertisseur = NomConvertisseur(entree.codePage);
        if (!convertisseur.empty()) {
            EXPECT_TRUE(DecoderParLaPlateforme("", entree.codePage).has_value()) << convertisseur;
        }
    }
}

} // namespace
} // namespace tq
