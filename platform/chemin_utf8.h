#pragma once

namespace tq {

// For the tests and the fuzz targets only: which of its two paths the UTF-8
// decoder (DepuisUtf8, TDecodeurUtf8) takes, so that both are checked on any
// machine that has them. Both give the same text; at start-up the decoder
// takes the block path where this processor and this build have it.
enum class TCheminUtf8 {
    Octets, // runs of ASCII sixteen bytes at a time, then one sequence at a time
    Blocs,  // before that, Latin text 32 bytes at a time (AVX-512 VBMI2)
};

bool CheminUtf8Disponible(TCheminUtf8 chemin);
TCheminUtf8 CheminUtf8Choisi();

// Takes the path from now on, for every thread; false, and no change, when
// it is not available here.
bool ChoisirCheminUtf8(TCheminUtf8 chemin);

} // namespace tq
