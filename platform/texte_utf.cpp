#include "platform/texte_utf.h"

namespace tq {

namespace {

void AjouterPointDeCode(std::string& sortie, char32_t c)
{
    if (c < 0x80) {
        sortie.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        sortie.push_back(static_cast<char>(0xC0 | (c >> 6)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        sortie.push_back(static_cast<char>(0xE0 | (c >> 12)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        sortie.push_back(static_cast<char>(0xF0 | (c >> 18)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool EstHaut(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool EstBas(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::string VersUtf8(std::u16string_view texte)
{
    std::string sortie;
    sortie.reserve(texte.size());
    for (std::size_t i = 0; i < texte.size(); ++i) {
        char16_t c = texte[i];
        if (EstHaut(c) && i + 1 < texte.size() && EstBas(texte[i + 1])) {
            char32_t point = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(texte[i + 1]) - 0xDC00);
            AjouterPointDeCode(sortie, point);
            ++i;
        } else if (EstHaut(c) || EstBas(c)) {
            AjouterPointDeCode(sortie, 0xFFFD);
        } else {
            AjouterPointDeCode(sortie, c);
        }
    }
    return sortie;
}

std::u16string DepuisUtf8(std::string_view octets)
{
    std::u16string sortie;
    sortie.reserve(octets.size());
    std::size_t i = 0;
    const std::size_t n = octets.size();
    auto suite = [&](std::size_t k) { return k < n && (static_cast<unsigned char>(octets[k]) & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(octets[i]);
        char32_t point = 0xFFFD;
        std::size_t longueur = 1;
        if (b < 0x80) {
            point = b;
        } else if (b >= 0xC2 && b <= 0xDF && suite(i + 1)) {
            point = (char32_t(b & 0x1F) << 6) | (octets[i + 1] & 0x3F);
            longueur = 2;
        } else if (b >= 0xE0 && b <= 0xEF && suite(i + 1) && suite(i + 2)) {
            point = (char32_t(b & 0x0F) << 12) | (char32_t(octets[i + 1] & 0x3F) << 6) | (octets[i + 2] & 0x3F);
            if (point >= 0x800 && (point < 0xD800 || point > 0xDFFF))
                longueur = 3;
            else
                point = 0xFFFD;
        } else if (b >= 0xF0 && b <= 0xF4 && suite(i + 1) && suite(i + 2) && suite(i + 3)) {
            point = (char32_t(b & 0x07) << 18) | (char32_t(octets[i + 1] & 0x3F) << 12)
                  | (char32_t(octets[i + 2] & 0x3F) << 6) | (octets[i + 3] & 0x3F);
            if (point >= 0x10000 && point <= 0x10FFFF)
                longueur = 4;
            else
                point = 0xFFFD;
        }
        if (point >= 0x10000) {
            point -= 0x10000;
            sortie.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            sortie.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            sortie.push_back(static_cast<char16_t>(point));
        }
        i += longueur;
    }
    return sortie;
}

} // namespace tq
