#include "server/csv.h"

namespace tq {

namespace {

std::u16string Chiffres(unsigned long long valeur)
{
    std::u16string texte;
    do {
        texte.insert(texte.begin(), static_cast<char16_t>(u'0' + valeur % 10));
        valeur /= 10;
    } while (valeur > 0);
    return texte;
}

} // namespace

std::u16string ChampCsv(std::u16string_view texte)
{
    if (texte.find_first_of(u";\"\r\n") == std::u16string_view::npos)
        return std::u16string(texte);
    std::u16string champ = u"\"";
    for (const char16_t c : texte) {
        if (c == u'"')
            champ.push_back(u'"');
        champ.push_back(c);
    }
    champ.push_back(u'"');
    return champ;
}

std::u16string LigneCsv(const std::vector<std::u16string>& champs)
{
    std::u16string ligne;
    for (std::size_t i = 0; i < champs.size(); ++i) {
        if (i > 0)
            ligne.push_back(u';');
        ligne += ChampCsv(champs[i]);
    }
    return ligne;
}

std::u16string MontantCsv(long long centimes)
{
    // Works on the magnitude as unsigned so that the smallest value has one.
    const unsigned long long valeur =
        centimes < 0 ? 0ULL - static_cast<unsigned long long>(centimes) : static_cast<unsigned long long>(centimes);
    std::u16string texte = centimes < 0 ? u"-" : u"";
    texte += Chiffres(valeur / 100);
    texte.push_back(u',');
    texte.push_back(static_cast<char16_t>(u'0' + valeur % 100 / 10));
    texte.push_back(static_cast<char16_t>(u'0' + valeur % 10));
    return texte;
}

long long MoyenneCentimes(long long totalCentimes, long long nombre)
{
    if (nombre == 0)
        return 0;
    const long long quotient = totalCentimes / nombre;
    const long long reste = totalCentimes % nombre;
    // Round half away from zero: the remainder is at least half the count.
    const long long resteAbsolu = reste < 0 ? -reste : reste;
    const long long nombreAbsolu = nombre < 0 ? -nombre : nombre;
    const bool arrondirPlusLoin = resteAbsolu >= nombreAbsolu - resteAbsolu;
    if (!arrondirPlusLoin)
        return quotient;
    return (totalCentimes < 0) != (nombre < 0) ? quotient - 1 : quotient + 1;
}

} // namespace tq
