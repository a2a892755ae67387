#include "results/lecture_entier.h"

#include "platform/caracteres.h"

namespace tq {

namespace {

// Length of the hexadecimal prefix at the start of `texte`, 0 when there is none.
std::size_t PrefixeHexa(std::u16string_view texte) noexcept
{
    if (texte.starts_with(u'$') || texte.starts_with(u'x') || texte.starts_with(u'X'))
        return 1;
    if (texte.starts_with(u"0x") || texte.starts_with(u"0X"))
        return 2;
    return 0;
}

} // namespace

std::int32_t EntierOuZero(std::u16string_view texte) noexcept
{
    std::size_t i = 0;
    while (i < texte.size() && texte[i] == u' ')
        ++i;
    bool negatif = false;
    if (i < texte.size() && (texte[i] == u'+' || texte[i] == u'-')) {
        negatif = texte[i] == u'-';
        ++i;
    }
    const std::u16string_view corps = texte.substr(i);
    if (const std::size_t prefixe = PrefixeHexa(corps); prefixe != 0) {
        const std::u16string_view chiffres = corps.substr(prefixe);
        if (chiffres.empty())
            return 0;
        std::uint64_t valeur = 0;
        for (char16_t c : chiffres) {
            const int chiffre = ValeurHexa(c);
            if (chiffre < 0)
                return 0;
            valeur = valeur * 16 + static_cast<unsigned>(chiffre);
            if (valeur > 0xFFFFFFFFu)
                return 0;
        }
        std::uint32_t motif = static_cast<std::uint32_t>(valeur);
        if (negatif)
            motif = 0u - motif;
        return static_cast<std::int32_t>(motif);
    }
    if (corps.empty())
        return 0;
    std::int64_t valeur = 0;
    for (char16_t c : corps) {
        if (c < u'0' || c > u'9')
            return 0;
        valeur = valeur * 10 + (c - u'0');
        if (valeur > 2147483648)
            return 0;
    }
    if (negatif)
        valeur = -valeur;
    if (valeur > 2147483647)
        return 0;
    return static_cast<std::int32_t>(valeur);
}

} // namespace tq
