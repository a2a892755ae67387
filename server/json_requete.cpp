#include "server/json_requete.h"

#include "server/erreurs_serveur.h"

#include <string>

namespace tq {

namespace {

constexpr int profondeurMaximale = 64;

class TLecteurJson {
public:
    explicit TLecteurJson(std::u16string_view texte)
        : m_texte(texte)
    {
    }

    TValeurJson Document()
    {
        Blancs();
        TValeurJson racine = Valeur(0);
        Blancs();
        if (m_position != m_texte.size())
            Echec();
        return racine;
    }

private:
    [[noreturn]] void Echec() const
    {
        throw ErreurRequete("Requête illisible : JSON incorrect à la position " + std::to_string(m_position + 1)
                            + ".");
    }

    bool Fin() const { return m_position >= m_texte.size(); }
    char16_t Courant() const { return Fin() ? u'\0' : m_texte[m_position]; }

    void Attendre(char16_t c)
    {
        if (Fin() || m_texte[m_position] != c)
            Echec();
        ++m_position;
    }

    void Blancs()
    {
        while (!Fin()) {
            const char16_t c = m_texte[m_position];
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                return;
            ++m_position;
        }
    }

    TValeurJson Valeur(int profondeur)
    {
        if (profondeur >= profondeurMaximale)
            Echec();
        if (Fin())
            Echec();
        switch (m_texte[m_position]) {
        case u'{':
            return Objet(profondeur);
        case u'[':
            return Tableau(profondeur);
        case u'"': {
            TValeurJson v;
            v.genre = TValeurJson::TGenre::Texte;
            v.texte = Chaine();
            return v;
        }
        case u't':
            return Litteral(u"true", TValeurJson::TGenre::Booleen, true);
        case u'f':
            return Litteral(u"false", TValeurJson::TGenre::Booleen, false);
        case u'n':
            return Litteral(u"null", TValeurJson::TGenre::Nul, false);
        default:
            return Nombre();
        }
    }

    TValeurJson Objet(int profondeur)
    {
        TValeurJson v;
        v.genre = TValeurJson::TGenre::Objet;
        Attendre(u'{');
        Blancs();
        if (Courant() == u'}') {
            ++m_position;
            return v;
        }
        for (;;) {
            Blancs();
            if (Courant() != u'"')
                Echec();
            v.noms.push_back(Chaine());
            Blancs();
            Attendre(u':');
            Blancs();
            v.valeurs.push_back(Valeur(profondeur + 1));
            Blancs();
            if (Courant() == u',') {
                ++m_position;
                continue;
            }
            Attendre(u'}');
            return v;
        }
    }

    TValeurJson Tableau(int profondeur)
    {
        TValeurJson v;
        v.genre = TValeurJson::TGenre::Tableau;
        Attendre(u'[');
        Blancs();
        if (Courant() == u']') {
            ++m_position;
            return v;
        }
        for (;;) {
            Blancs();
            v.valeurs.push_back(Valeur(profondeur + 1));
            Blancs();
            if (Courant() == u',') {
                ++m_position;
                continue;
            }
            Attendre(u']');
            return v;
        }
    }

    static int Hexa(char16_t c)
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return -1;
    }

    std::u16string Chaine()
    {
        Attendre(u'"');
        std::u16string texte;
        for (;;) {
            if (Fin())
                Echec();
            const char16_t c = m_texte[m_position];
            if (c == u'"') {
                ++m_position;
                return texte;
            }
            if (c < 0x20)
                Echec();
            if (c != u'\\') {
                texte.push_back(c);
                ++m_position;
                continue;
            }
            ++m_position;
            switch (Courant()) {
            case u'"':
            case u'\\':
            case u'/':
                texte.push_back(Courant());
                break;
            case u'b':
                texte.push_back(u'\b');
                break;
            case u'f':
                texte.push_back(u'\f');
                break;
            case u'n':
                texte.push_back(u'\n');
                break;
            case u'r':
                texte.push_back(u'\r');
                break;
            case u't':
                texte.push_back(u'\t');
                break;
            case u'u': {
                char16_t unite = 0;
                for (int i = 0; i < 4; ++i) {
                    ++m_position;
                    const int chiffre = Hexa(Courant());
                    if (chiffre < 0)
                        Echec();
                    unite = static_cast<char16_t>(unite * 16 + chiffre);
                }
                texte.push_back(unite);
                break;
            }
            default:
                Echec();
            }
            ++m_position;
        }
    }

    static bool Chiffre(char16_t c) { return c >= u'0' && c <= u'9'; }

    void Chiffres()
    {
        if (!Chiffre(Courant()))
            Echec();
        while (Chiffre(Courant()))
            ++m_position;
    }

    TValeurJson Nombre()
    {
        const std::size_t debut = m_position;
        if (Courant() == u'-')
            ++m_position;
        if (Courant() == u'0')
            ++m_position;
        else
            Chiffres();
        if (Courant() == u'.') {
            ++m_position;
            Chiffres();
        }
        if (Courant() == u'e' || Courant() == u'E') {
            ++m_position;
            if (Courant() == u'+' || Courant() == u'-')
                ++m_position;
            Chiffres();
        }
        TValeurJson v;
        v.genre = TValeurJson::TGenre::Nombre;
        v.texte = std::u16string(m_texte.substr(debut, m_position - debut));
        return v;
    }

    TValeurJson Litteral(std::u16string_view mot, TValeurJson::TGenre genre, bool booleen)
    {
        if (m_texte.substr(m_position, mot.size()) != mot)
            Echec();
        m_position += mot.size();
        TValeurJson v;
        v.genre = genre;
        v.booleen = booleen;
        return v;
    }

    std::u16string_view m_texte;
    std::size_t m_position = 0;
};

} // namespace

const TValeurJson* TValeurJson::Membre(std::u16string_view nom) const
{
    if (genre != TGenre::Objet)
        return nullptr;
    for (std::size_t i = 0; i < noms.size(); ++i) {
        if (noms[i] == nom)
            return &valeurs[i];
    }
    return nullptr;
}

TValeurJson LireJson(std::u16string_view texte)
{
    return TLecteurJson(texte).Document();
}

} // namespace tq
