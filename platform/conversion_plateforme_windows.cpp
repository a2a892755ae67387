#include "platform/conversion_plateforme.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace tq {

namespace {

// The system converts at most INT_MAX bytes per call; a body is never that
// large, but a longer input is converted in pieces rather than refused.
constexpr std::size_t PieceMax = std::size_t { 1 } << 30;

void AjouterPiece(std::u16string& texte, std::string_view piece, UINT codePage)
{
    const int longueur = static_cast<int>(piece.size());
    const int n = MultiByteToWideChar(codePage, 0, piece.data(), longueur, nullptr, 0);
    if (n <= 0)
        return;
    const std::size_t debut = texte.size();
    texte.resize(debut + static_cast<std::size_t>(n));
    const int ecrits =
        MultiByteToWideChar(codePage, 0, piece.data(), longueur, reinterpret_cast<wchar_t*>(texte.data() + debut), n);
    texte.resize(debut + static_cast<std::size_t>(std::max(ecrits, 0)));
}

constexpr int CodePageUtf32Le = 12000;
constexpr int CodePageUtf32Be = 12001;

// UTF-32, which the system converts only in its managed libraries: each four
// bytes one character, U+FFFD for a value that is not one and for a last
// incomplete group.
std::u16string DecoderUtf32(std::string_view octets, bool grosBoutiste)
{
    std::u16string texte;
    texte.reserve(octets.size() / 4 + 1);
    std::size_t i = 0;
    for (; i + 4 <= octets.size(); i += 4) {
        char32_t c = 0;
        for (int k = 0; k < 4; ++k) {
            const auto octet =
                static_cast<unsigned char>(octets[i + static_cast<std::size_t>(grosBoutiste ? k : 3 - k)]);
            c = (c << 8) | octet;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            texte.push_back(u'\uFFFD');
        } else if (c >= 0x10000) {
            texte.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            texte.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            texte.push_back(static_cast<char16_t>(c));
        }
    }
    if (i < octets.size())
        texte.push_back(u'\uFFFD');
    return texte;
}

bool CodePageDuSysteme(int codePage)
{
    return codePage > 0 && codePage <= 65535 && IsValidCodePage(static_cast<UINT>(codePage)) != 0;
}

} // namespace

std::optional<std::u16string> DecoderParLaPlateforme(std::string_view octets, int codePage)
{
    if (codePage == CodePageUtf32Le || codePage == CodePageUtf32Be)
        return DecoderUtf32(octets, codePage == CodePageUtf32Be);
    if (!CodePageDuSysteme(codePage))
        return std::nullopt;
    std::u16string texte;
    for (std::size_t debut = 0; debut < octets.size(); debut += PieceMax)
        AjouterPiece(texte, octets.substr(debut, PieceMax), static_cast<UINT>(codePage));
    return texte;
}

} // namespace tq
