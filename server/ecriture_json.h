#pragma once

#include <string>
#include <string_view>

namespace tq {

// Writes a compact JSON text in UTF-8, putting the commas itself. Texts are
// escaped as RFC 8259 asks: the quote, the backslash and every control
// character; everything else is written as its UTF-8 bytes.
class TEcrivainJson {
public:
    void DebutObjet();
    void FinObjet();
    void DebutTableau();
    void FinTableau();
    void Nom(std::u16string_view nom);
    void Texte(std::u16string_view texte);
    void Entier(long long valeur);

    const std::string& Json() const { return json_; }

private:
    void AvantValeur();
    void Chaine(std::u16string_view texte);

    std::string json_;
    bool virgule_ = false;
};

} // namespace tq
