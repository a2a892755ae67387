#pragma once

namespace tq {

// From now on, SIGTERM, SIGINT and SIGHUP first remove the named temporary
// file of a save in progress, then end the process by the same signal, as
// they would have without it. On a file system without unnamed files such a
// file would otherwise stay beside the target. A signal that the process
// ignores (started by nohup, for instance) stays ignored. SIGKILL cannot be
// caught. On Windows this does nothing: the temporary file is marked for
// deletion from its creation, and the system removes it when the process
// dies.
void SupprimerTemporaireAuxSignauxDArret();

} // namespace tq
