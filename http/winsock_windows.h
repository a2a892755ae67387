#pragma once

namespace tq {

// Starts Windows Sockets 2 once for the whole process, before the first
// socket or name resolution; it stays started until the process ends.
void DemarrerWinsock();

} // namespace tq
