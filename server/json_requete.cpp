#include "server/json_requete.h"

#include "platform/caracteres.h"
#include "server/erreurs_serveur.h"

#include <string>

namespace tq {

namespace {

constexpr int profondeurMaximale = 64;

class TLecteurJson {
public:
    explicit TLecteurJson(std::u16string_view texte)
        : texte_(texte)
    {
    }

    TValeurJson Document()
    {
        Blancs();
        TValeurJson racine = Valeur(0);
        Blancs();
        if (position_ != texte_.size())
            Echec();
        return racine;
    }

private:
    [[noreturn]] void Echec() const
    {
        throw ErreurRequete("Requête illisible : JSON incorrect à la position " + std::to_string(position_ + 1) + ".");
    }

    bool Fin() const { return position_ >= texte_.size(); }
    char16_t Courant() const { return Fin() ? u'\0' : texte_[position_]; }

    void Attendre(char16_t c)
    {
        if (Fin() || texte_[position_] != c)
            Echec();
        ++position_;
    }

    void Blancs()
    {
        while (!Fin()) {
            const char16_t c = texte_[position_];
            if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
                return;
            ++position_;
        }
    }

    TValeurJson Valeur(int profondeur)
    {
        if (profondeur >= profondeurMaximale)
            Echec();
        if (Fin())
            Echec();
        switch (texte_[position_]) {
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
            ++position_;
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
                ++position_;
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
            ++position_;
            return v;
        }
        for (;;) {
            Blancs();
            v.valeurs.push_back(Valeur(profondeur + 1));
            Blancs();
            if (Courant() == u',') {
                ++position_;
                continue;
            }
            Attendre(u']');
            return v;
        }
    }

    std::u16string Chaine()
    {
        Attendre(u'"');
        std::u16string texte;
        for (;;) {
            if (Fin())
                Echec();
            const char16_t c = texte_[position_];
            if (c == u'"') {
                ++position_;
                return texte;
            }
            if (c < 0x20)
                Echec();
            if (c != u'\\') {
                texte.push_back(c);
                ++position_;
                continue;
            }
            ++position_;
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
                    ++position_;
                    const int chiffre = ValeurHexa(Courant());
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
            ++position_;
        }
    }

    static bool Chiffre(char16_t c) { return c >= u'0' && c <= u'9'; }

    void Chiffres()
    {
        if (!Chiffre(Courant()))
            Echec();
        while (Chiffre(Courant()))
            ++position_;
    }

    TValeurJson Nombre()
    {
        const std::size_t debut = position_;
        if (Courant() == u'-')
            ++position_;
        if (Courant() == u'0')
            ++position_;
        else
            Chiffres();
        if (Courant() == u'.') {
            ++position_;
            Chiffres();
        }
        if (Courant() == u'e' || Courant() == u'E') {
            ++position_;
            if (Courant() == u'+' || Courant() == u'-')
                ++position_;
            Chiffres();
        }
        TValeurJson v;
        v.genre = TValeurJson::TGenre::Nombre;
        v.texte = std::u16string(texte_.substr(debut, position_ - debut));
        return v;
    }

    TValeurJson Litteral(std::u16string_view mot, TValeurJson::TGenre genre, bool booleen)
    {
        if (texte_.substr(position_, mot.size()) != mot)
            Echec();
        position_ += mot.size();
        TValeurJson v;
        v.genre = genre;
        v.booleen = booleen;
        return v;
    }

    std::u16string_view texte_;
    std::size_t position_ = 0;
};

} // namespace

const TValeurJson* TValeurJson::Membre(std::u16string_view nom) const
{
    if (genre != TGenre::Objet)
        return nullptr;
    for (std::size_t i = 0; i < noms.size(); ++i)
        if (noms[i] == nom)
            return &valeurs[i];
    return nullptr;
}

TValeurJson LireJson(std::u16string_view texte)
{
    return TLecteurJson(texte).Document();
}

} // namespace tq
