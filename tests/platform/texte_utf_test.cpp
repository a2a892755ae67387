#include "platform/texte_utf.h"

#include "platform/chemin_utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Hexa(std::u16string_view texte)
{
    std::string s;
    char tampon[8];
    for (char16_t c : texte) {
        std::snprintf(tampon, sizeof tampon, "%04X ", static_cast<unsigned>(c));
        s += tampon;
    }
    return s;
}

std::u16string EnPieces(std::string_view octets, const std::vector<std::size_t>& tailles)
{
    tq::TDecodeurUtf8 decodeur;
    std::u16string texte;
    std::size_t position = 0;
    for (std::size_t i = 0; position < octets.size(); ++i) {
        const std::size_t n = std::min(tailles[i % tailles.size()], octets.size() - position);
        decodeur.Ajouter(octets.substr(position, n), texte);
        position += n;
    }
    decodeur.Terminer(texte);
    return texte;
}

// Each test runs on both paths of the decoder, the byte path and the block
// path, whatever this processor would take on its own.
class DecodeurUtf8 : public testing::TestWithParam<tq::TCheminUtf8> {
protected:
    void SetUp() override
    {
        if (!tq::ChoisirCheminUtf8(GetParam()))
            GTEST_SKIP() << "ce processeur (ou cette construction) n'a pas AVX-512 VBMI2";
    }
    void TearDown() override { tq::ChoisirCheminUtf8(avant_); }

private:
    tq::TCheminUtf8 avant_ = tq::CheminUtf8Choisi();
};

INSTANTIATE_TEST_SUITE_P(Chemins, DecodeurUtf8, testing::Values(tq::TCheminUtf8::Octets, tq::TCheminUtf8::Blocs),
                         [](const testing::TestParamInfo<tq::TCheminUtf8>& info) {
                             return info.param == tq::TCheminUtf8::Octets ? "Octets" : "Blocs";
                         });

// Well-formed characters of every length, then every kind of ill-formed
// sequence: lone continuation bytes, bytes that never begin one, overlong
// forms, surrogates, code points past U+10FFFF, sequences cut short.
const char* const Morceaux[] = {
    "a",
    "\xC3\xA9",
    "\xE2\x82\xAC",
    "\xF0\x9F\x98\x80",
    "\xEF\xBB\xBF",
    "\x80",
    "\xBF",
    "\xC0\xAF",
    "\xC1\xBF",
    "\xF5\x80\x80\x80",
    "\xFF",
    "\xE0\x80\xAF",
    "\xE0\xA0",
    "\xED\xA0\x80",
    "\xED\x9F\xBF",
    "\xF0\x8F\xBF\xBF",
    "\xF4\x90\x80\x80",
    "\xF4\x8F\xBF\xBF",
    "\xF0\x9F\x98",
    "\xF0\x9F",
    "\xE2\x82",
    "\xC3",
    "\xC2\x41",
    "\xE2\x41\x82",
    "\xF0\x9F\x41",
};

// Each sequence between others, cut at every place and fed byte by byte:
// always the text of the whole bytes decoded at once.
TEST_P(DecodeurUtf8, PiecesCoupeesPartoutCommeLeTout)
{
    for (const char* a : Morceaux) {
        for (const char* b : Morceaux) {
            const std::string octets = std::string("x") + a + b + "\xC3";
            SCOPED_TRACE(testing::PrintToString(octets));
            const std::u16string attendu = tq::DepuisUtf8(octets);
            for (std::size_t coupe = 0; coupe <= octets.size(); ++coupe) {
                EXPECT_EQ(Hexa(EnPieces(octets, { coupe == 0 ? octets.size() : coupe, octets.size() })), Hexa(attendu));
            }
            EXPECT_EQ(Hexa(EnPieces(octets, { 1 })), Hexa(attendu));
            EXPECT_EQ(Hexa(EnPieces(octets, { 2, 1, 3 })), Hexa(attendu));
        }
    }
}

// A large text mostly of ASCII runs (the sixteen-at-a-time path) with the
// ill-formed sequences sprinkled in, in random piece sizes.
TEST_P(DecodeurUtf8, GrandTexteEnPiecesAleatoires)
{
    std::mt19937 hasard(7);
    std::string octets;
    for (int i = 0; i < 20000; ++i) {
        octets += std::string(hasard() % 40, static_cast<char>('a' + i % 26));
        octets += Morceaux[hasard() % std::size(Morceaux)];
    }
    const std::u16string attendu = tq::DepuisUtf8(octets);
    for (unsigned graine : { 1u, 2u, 3u }) {
        std::mt19937 tailles(graine);
        std::vector<std::size_t> pieces;
        for (int i = 0; i < 101; ++i)
            pieces.push_back(1 + tailles() % 5000);
        EXPECT_TRUE(EnPieces(octets, pieces) == attendu) << graine;
    }
}

// Accented text is decoded a block of bytes at a time where the processor
// allows it, which short inputs never reach: each sequence, at every place of
// a block inside a long accented text, gives the text around it unchanged and
// what it gives alone, whole or in pieces.
TEST_P(DecodeurUtf8, SequencesAChaquePlaceDansUnLongTexte)
{
    const std::u16string latin = u"Contr\u00F4le p\u00E9riodique \u00E0 Cr\u00E9teil, N\u00EEmes et B\u00E9ziers ; ";
    const std::u16string devant = latin + latin + latin;
    const std::u16string derriere = u" " + latin + latin;
    for (const char* morceau : Morceaux) {
        for (std::size_t place = 0; place < 64; ++place) {
            const std::u16string avant = devant + std::u16string(place, u'a');
            const std::string octets = tq::VersUtf8(avant) + morceau + tq::VersUtf8(derriere);
            const std::u16string attendu = avant + tq::DepuisUtf8(morceau) + derriere;
            SCOPED_TRACE(testing::PrintToString(std::string(morceau)) + " a " + std::to_string(place));
            ASSERT_EQ(Hexa(tq::DepuisUtf8(octets)), Hexa(attendu));
            ASSERT_EQ(Hexa(EnPieces(octets, { 37, 5, 64 })), Hexa(attendu));
        }
    }
}

TEST_P(DecodeurUtf8, TexteConnuEtSequencesMalFormees)
{
    struct TCas {
        const char* nom;
        std::string_view octets;
        std::u16string_view texte;
    };
    const TCas cas[] = {
        { "vide", "", u"" },
        { "accents et euro", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", u"\u00E9t\u00E9 \u20AC" },
        { "hors du premier plan", "\xF0\x9F\x98\x80", u"\U0001F600" },
        { "marque d'ordre gardee", "\xEF\xBB\xBFx", u"\uFEFFx" },
        { "coupee a la fin", "a\xF0\x9F\x98", u"a\uFFFD" },
        // One U+FFFD for each maximal part of a well-formed sequence: a
        // beginning cut by another byte is one, a byte that cannot begin or
        // continue one is one each.
        { "quatre octets coupes par un ascii", "\xF0\x90\x80\x41", u"\uFFFDA" },
        { "trois octets coupes par un ascii", "\xE2\x82\x41", u"\uFFFDA" },
        { "deux debuts de suite", "\xF0\x90\xF0\x90\x80\x80", u"\uFFFD\U00010000" },
        { "surrogat encode", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD" },
        { "forme trop longue", "\xC0\xAF", u"\uFFFD\uFFFD" },
        { "nul trop long", "\xC0\x80", u"\uFFFD\uFFFD" },
        { "trois octets trop longs", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD" },
        { "au dela de U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD" },
        { "premier octet interdit", "\xF5\x80", u"\uFFFD\uFFFD" },
        { "suite isolee",
          "a\x80"
          "b",
          u"a\uFFFDb" },
        { "suite invalide", "\xE2\x41\x82", u"\uFFFDA\uFFFD" },
        { "dernier de chaque longueur", "\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", u"\u07FF\uFFFF\U0010FFFF" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Hexa(tq::DepuisUtf8(c.octets)), Hexa(c.texte));
        EXPECT_EQ(Hexa(EnPieces(c.octets, { 1 })), Hexa(c.texte));
    }
}

} // namespace
