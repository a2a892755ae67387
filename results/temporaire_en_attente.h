#pragma once

namespace tq {

// The named temporary file of the save in progress, which a termination
// signal removes before the process ends (SupprimerTemporaireAuxSignauxDArret).
// The POSIX atomic file announces its temporary file as soon as it has a name
// on the disk and takes it back once renamed or removed; the text must stay
// in place until then. One file is announced at a time: while one is, the
// announce of another is ignored.
void AnnoncerTemporaire(const char* chemin) noexcept;
void RetirerTemporaire(const char* chemin) noexcept;

} // namespace tq
