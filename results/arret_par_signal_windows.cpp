#include "results/arret_par_signal.h"

namespace tq {

// The temporary file is marked for deletion from its creation, wherever the
// file system allows it: the system removes it however the process ends.
void SupprimerTemporaireAuxSignauxDArret()
{
}

} // namespace tq
