#include "platform/locale_icu.h"

#include <memory>

#include "platform/bibliotheque_icu.h"
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

namespace {

struct TFermerRessource {
    void operator()(UResourceBundle* ressource) const { BibliothequeIcu()->ures_close(ressource); }
};
using TRessource = std::unique_ptr<UResourceBundle, TFermerRessource>;

// The data of exactly this locale, without its parents'; null when ICU has none.
TRessource DonneesPropres(const std::string& locale)
{
    UErrorCode erreur = U_ZERO_ERROR;
    TRessource donnees { BibliothequeIcu()->ures_openDirect(nullptr, locale.c_str(), &erreur) };
    return U_SUCCESS(erreur) ? std::move(donnees) : nullptr;
}

std::string Ascii(const UChar* texte, int32_t longueur)
{
    return std::string(texte, texte + longueur);
}

// The text at `chemin` in one locale's own data; nothing when it is not
// there.
bool Chercher(UResourceBundle* donnees, std::initializer_list<const char*> chemin, int indice, std::u16string& texte)
{
    UErrorCode erreur = U_ZERO_ERROR;
    TRessource courante;
    UResourceBundle* ressource = donnees;
    for (const char* cle : chemin) {
        courante.reset(BibliothequeIcu()->ures_getByKey(ressource, cle, nullptr, &erreur));
        if (U_FAILURE(erreur))
            return false;
        ressource = courante.get();
    }
    if (indice >= 0) {
        courante.reset(BibliothequeIcu()->ures_getByIndex(ressource, indice, nullptr, &erreur));
        // An item may be a list of the pattern and its number overrides.
        if (U_SUCCESS(erreur) && BibliothequeIcu()->ures_getType(courante.get()) == URES_ARRAY)
            courante.reset(BibliothequeIcu()->ures_getByIndex(courante.get(), 0, nullptr, &erreur));
        ressource = courante.get();
    }
    int32_t longueur = 0;
    const UChar* chaine =
        U_SUCCESS(erreur) ? BibliothequeIcu()->ures_getString(ressource, &longueur, &erreur) : nullptr;
    if (U_FAILURE(erreur) || chaine == nullptr)
        return false;
    texte.assign(chaine, static_cast<std::size_t>(longueur));
    return true;
}

} // namespace

std::string LocaleDesDonnees(const std::string& locale)
{
    if (BibliothequeIcu() == nullptr)
        return {};
    UErrorCode erreur = U_ZERO_ERROR;
    const TRessource donnees { BibliothequeIcu()->ures_open(nullptr, locale.c_str(), &erreur) };
    // For a language it has no data of, ICU falls back on the process's
    // default locale (or on the root).
    if (U_FAILURE(erreur) || erreur == U_USING_DEFAULT_WARNING)
        return {};
    const char* trouvee = BibliothequeIcu()->ures_getLocaleByType(donnees.get(), ULOC_ACTUAL_LOCALE, &erreur);
    if (U_FAILURE(erreur) || trouvee == nullptr || std::string_view(trouvee) == "root")
        return {};
    return trouvee;
}

std::u16string TexteDesDonnees(const std::string& locale, std::initializer_list<const char*> chemin, int indice)
{
    if (BibliothequeIcu() == nullptr)
        return {};
    std::string courante = locale;
    // A locale's data may name a parent other than the one its name gives
    // ("%%Parent": en_CA inherits from en_001); the chain ends at the root.
    for (int etape = 0; etape < 16; ++etape) {
        bool lienSuivi = false;
        if (const TRessource donnees = DonneesPropres(courante)) {
            std::u16string texte;
            if (Chercher(donnees.get(), chemin, indice, texte))
                return texte;
            UErrorCode erreur = U_ZERO_ERROR;
            int32_t longueur = 0;
            const UChar* parent = BibliothequeIcu()->ures_getStringByKey(donnees.get(), "%%Parent", &longueur, &erreur);
            if (U_SUCCESS(erreur) && parent != nullptr && longueur > 0) {
                courante = Ascii(parent, longueur);
                lienSuivi = true;
            }
        }
        if (lienSuivi)
            continue;
        if (courante == "root")
            return {};
        char parent[ULOC_FULLNAME_CAPACITY] = {};
        UErrorCode erreur = U_ZERO_ERROR;
        const int32_t longueur =
            BibliothequeIcu()->uloc_getParent(courante.c_str(), parent, sizeof parent - 1, &erreur);
        courante = U_SUCCESS(erreur) && longueur > 0 ? std::string(parent, static_cast<std::size_t>(longueur)) : "root";
    }
    return {};
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
        { "ht", localeC },
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
