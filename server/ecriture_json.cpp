#include "server/ecriture_json.h"

#include "platform/texte_utf.h"

namespace tq {

void TEcrivainJson::AvantValeur()
{
    if (virgule_)
        json_.push_back(',');
    virgule_ = true;
}

void TEcrivainJson::DebutObjet()
{
    AvantValeur();
    json_.push_back('{');
    virgule_ = false;
}

void TEcrivainJson::FinObjet()
{
    json_.push_back('}');
    virgule_ = true;
}

void TEcrivainJson::DebutTableau()
{
    AvantValeur();
    json_.push_back('[');
    virgule_ = false;
}

void TEcrivainJson::FinTableau()
{
    json_.push_back(']');
    virgule_ = true;
}

void TEcrivainJson::Nom(std::u16string_view nom)
{
    AvantValeur();
    Chaine(nom);
    json_.push_back(':');
    virgule_ = false;
}

void TEcrivainJson::Texte(std::u16string_view texte)
{
    AvantValeur();
    Chaine(texte);
}

void TEcrivainJson::Entier(long long valeur)
{
    AvantValeur();
    json_ += std::to_string(valeur);
}

void TEcrivainJson::Chaine(std::u16string_view texte)
{
    static constexpr char hexa[] = "0123456789abcdef";
    std::u16string echappe;
    echappe.reserve(texte.size() + 2);
    for (const char16_t c : texte) {
        switch (c) {
        case u'"':
            echappe += u"\\\"";
            break;
        case u'\\':
            echappe += u"\\\\";
            break;
        case u'\n':
            echappe += u"\\n";
            break;
        case u'\r':
            echappe += u"\\r";
            break;
        case u'\t':
            echappe += u"\\t";
            break;
        case u'\b':
            echappe += u"\\b";
            break;
        case u'\f':
            echappe += u"\\f";
            break;
        default:
            if (c < 0x20) {
                echappe += u"\\u00";
                echappe.push_back(static_cast<char16_t>(hexa[c >> 4]));
                echappe.push_back(static_cast<char16_t>(hexa[c & 0xF]));
            } else {
                echappe.push_back(c);
            }
        }
    }
    json_.push_back('"');
    json_ += VersUtf8(echappe);
    json_.push_back('"');
}

} // namespace tq
