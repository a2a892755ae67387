#include "http/winsock_windows.h"

#include "http/erreurs_http.h"

#include <winsock2.h>

#include <mutex>

namespace tq {

void DemarrerWinsock()
{
    static std::once_flag fait;
    static int erreur = 0;
    std::call_once(fait, [] {
        WSADATA donnees;
        erreur = WSAStartup(MAKEWORD(2, 2), &donnees);
    });
    if (erreur != 0)
        throw ErreurSocket(erreur);
}

} // namespace tq
