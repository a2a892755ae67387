#pragma once

// POSIX systems only: Windows gives the Windows Sockets numbers itself and
// needs no such table.

namespace tq {

// The Windows Sockets number for a POSIX errno value of a socket call; a
// value without counterpart is passed through unchanged.
int NumeroErreurSocket(int codeErrno);

} // namespace tq
