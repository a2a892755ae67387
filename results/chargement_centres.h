#pragma once

#include <string_view>
#include <vector>

#include "platform/reglages_regionaux.h"
#include "results/centre.h"

namespace tq {

// Replaces the directory with the centres of a centre list answer, in the
// answer's order. The answer is reduced to 7-bit ASCII before it is read, and
// so is each string of a centre that holds characters written as "\u"
// escapes, so every text that reaches the directory is 7-bit. Numbers are written with the decimal
// separator of the settings.
//
// An empty answer, one that is not JSON, one without "centres" and a
// "centres" that is not an array all leave the directory empty. An answer or
// a centre that is JSON of another kind than an object throws
// ErreurTranstypage; a number that cannot be read throws tq::Erreur. After a
// failure the directory keeps the entries already read, the rest in the zero
// state.
void ChargerCentres(std::u16string_view reponse, std::vector<TEnr_Centre>& centres, const TReglagesRegionaux& reglages);

} // namespace tq
