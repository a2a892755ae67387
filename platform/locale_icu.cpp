#include "platform/locale_icu.h"

#include <unicode/uloc.h>

#include "platform/caracteres.h"

namespace tq {

namespace {

bool EstTagValide(std::string_view tag)
{
    if (tag.empty())
        return false;
    for (const char c : tag)
        if (!EstLettreAscii(c) && !EstChiffreAscii(c))
            return false;
    return true;
}

// A script is four letters, a capital then three small ones ("Latn").
bool EstEcriture(std::string_view tag)
{
    if (tag.size() != 4 || !(tag[0] >= 'A' && tag[0] <= 'Z'))
        return false;
    for (std::size_t i = 1; i < 4; ++i)
        if (!(tag[i] >= 'a' && tag[i] <= 'z'))
            return false;
    return true;
}

// A territory is two letters or three digits; anything else names none.
bool EstTerritoire(std::string_view tag)
{
    if (tag.size() == 2)
        return EstLettreAscii(tag[0]) && EstLettreAscii(tag[1]);
    return tag.size() == 3 && EstChiffreAscii(tag[0]) && EstChiffreAscii(tag[1]) && EstChiffreAscii(tag[2]);
}

std::string Langue(std::string_view code)
{
    std::string langue;
    for (const char c : code)
        langue.push_back(MinusculeAscii(c));
    struct TAncienCode {
        const char* ancien;
        const char* actuel;
    };
    constexpr TAncienCode anciens[] = { { "no", "nb" }, { "tl", "fil" }, { "sh", "sr" }, { "mo", "ro" },
                                        { "iw", "he" }, { "in", "id" },  { "ji", "yi" } };
    for (const TAncienCode& a : anciens)
        if (langue == a.ancien)
            return a.actuel;
    return langue;
}

} // namespace

std::string LocaleIcu(std::string_view nom)
{
    enum class TEtat { Langue, Ecriture, Territoire, Fin };
    TEtat etat = TEtat::Langue;
    std::string locale;
    while (!nom.empty() && etat != TEtat::Fin) {
        const std::size_t fin = std::min(nom.find_first_of("_-.@"), nom.size());
        const std::string_view tag = nom.substr(0, fin);
        if (!EstTagValide(tag))
            break;
        const bool separateur = fin < nom.size();
        nom.remove_prefix(separateur ? fin + 1 : fin);
        if (etat == TEtat::Langue) {
            if (tag.size() != 2 && tag.size() != 3)
                return {};
            locale = Langue(tag);
            etat = separateur ? TEtat::Ecriture : TEtat::Fin;
        } else if (etat == TEtat::Ecriture && EstEcriture(tag)) {
            locale.append("_").append(tag);
            etat = separateur ? TEtat::Territoire : TEtat::Fin;
        } else {
            if (EstTerritoire(tag)) {
                locale.push_back('_');
                for (const char c : tag)
                    locale.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
            }
            etat = TEtat::Fin;
        }
    }
    return etat == TEtat::Langue ? std::string() : locale;
}

bool DonneesDeLaLangue(const std::string& demandee, const char* trouvee)
{
    char langueDemandee[16] = {};
    char langueTrouvee[16] = {};
    UErrorCode erreur = U_ZERO_ERROR;
    uloc_getLanguage(demandee.c_str(), langueDemandee, sizeof langueDemandee - 1, &erreur);
    uloc_getLanguage(trouvee, langueTrouvee, sizeof langueTrouvee - 1, &erreur);
    return U_SUCCESS(erreur) && std::string_view(langueDemandee) == langueTrouvee;
}

const TDonneesDuBureau* DonneesPropresAuBureau(const std::string& locale)
{
    // The toolkit's C locale and its root data, which a language with a locale
    // but no data of its own takes.
    static constexpr TDonneesDuBureau localeC { u"d MMM yyyy", u':', u'.' };
    static constexpr TDonneesDuBureau racine { u"yyyy-MM-dd", u':', u'.' };
    struct TLocalePropre {
        std::string_view locale;
        TDonneesDuBureau donnees;
    };
    // A language alone stands for all its territories.
    static constexpr TLocalePropre propres[] = {
        { "aa", racine },
        { "an", racine },
        { "az_IR", racine },
        { "bho", localeC },
        { "brx", racine },
        { "byn", racine },
        { "cv", racine },
        { "dv", racine },
        { "en_CA", racine },
        { "gez", racine },
        { "gv", { u"dd/MM/yy", u':', u'.' } },
        { "iu", racine },
        { "kw", { u"dd/MM/yyyy", u':', u'.' } },
        { "my", { u"dd-MM-yy", u':', u'.' } },
        { "nds", { u"d.MM.yy", u'.', u',' } },
        { "nr", racine },
        { "nso", racine },
        { "oc", racine },
        { "raj", localeC },
        { "sid", racine },
        { "ss", racine },
        { "st", racine },
        { "syr", racine },
        { "szl", racine },
        { "tig", racine },
        { "tn", racine },
        { "tpi", racine },
        { "ts", racine },
        { "ve", racine },
        { "wa", racine },
        { "wal", racine },
        { "xh", racine },
    };
    const std::string_view langue = std::string_view(locale).substr(0, locale.find('_'));
    const std::string_view territoire = locale.rfind('_') == std::string::npos
                                          ? std::string_view()
                                          : std::string_view(locale).substr(locale.rfind('_'));
    for (const TLocalePropre& p : propres) {
        const bool pourLaLangue = p.locale == langue;
        const bool pourLeTerritoire = p.locale.size() > langue.size() && p.locale.starts_with(langue)
                                   && p.locale.substr(langue.size()) == territoire;
        if (pourLaLangue || pourLeTerritoire)
            return &p.donnees;
    }
    return nullptr;
}

} // namespace tq
