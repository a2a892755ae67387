#pragma once

#include <span>

namespace tq {

// Hand-written material of the demo base; the figures are derived from it.
struct TCentreDemo {
    const char16_t* enseigne;
    const char16_t* adresse1;
    const char16_t* adresse2;
    const char16_t* codePostal;
    const char16_t* ville;
    int zone;
};

// A name as shown, and its plain lower-case form for user logins.
struct TNomDemo {
    const char16_t* affiche;
    const char16_t* identifiant;
};

std::span<const TCentreDemo> CentresDemo();
std::span<const TNomDemo> PrenomsDemo();
std::span<const TNomDemo> NomsDemo();

} // namespace tq
