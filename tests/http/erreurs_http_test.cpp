#include "http/erreurs_http.h"
#ifndef _WIN32
#include "http/numero_erreur_socket_posix.h"
#endif

#include <gtest/gtest.h>

#include <cerrno>

namespace tq {
namespace {

TEST(ErreursHttp, SocketMessages)
{
    struct Cas {
        const char* nom;
        int numero;
        const char* message;
    };
    const Cas cas[] = {
        { "refused", 10061, "Erreur de socket n° 10061\r\nConnexion refusée." },
        { "timed_out", 10060, "Erreur de socket n° 10060\r\nDélai de connexion dépassé." },
        { "reset", 10054, "Erreur de socket n° 10054\r\nConnexion réinitialisée par l'homologue (peer)." },
        { "host_not_found", 11001, "Erreur de socket n° 11001\r\nHôte non trouvé." },
        { "first_of_table", 10004, "Erreur de socket n° 10004\r\nAppel système interrompu." },
        { "text_without_full_stop", 10066, "Erreur de socket n° 10066\r\nRépertoire non vide" },
        { "unknown_number", 10067, "Erreur de socket n° 10067\r\n" },
        { "small_number", 5, "Erreur de socket n° 5\r\n" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const ErreurSocket e(c.numero);
        EXPECT_STREQ(e.what(), c.message);
        EXPECT_EQ(e.Numero(), c.numero);
    }
}

TEST(ErreursHttp, ErrnoToWindowsSocketsNumbers)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows gives the Windows Sockets numbers itself: no errno table to check";
#else
    struct Cas {
        const char* nom;
        int codeErrno;
        int numero;
    };
    const Cas cas[] = {
        { "refused", ECONNREFUSED, 10061 },
        { "timed_out", ETIMEDOUT, 10060 },
        { "reset", ECONNRESET, 10054 },
        { "host_unreachable", EHOSTUNREACH, 10065 },
        { "net_unreachable", ENETUNREACH, 10051 },
        { "broken_pipe", EPIPE, 10053 },
        { "aborted", ECONNABORTED, 10053 },
        { "shut_down", ESHUTDOWN, 10058 },
        { "not_connected", ENOTCONN, 10057 },
        { "interrupted", EINTR, 10004 },
        { "too_many_files", EMFILE, 10024 },
        { "no_buffers", ENOBUFS, 10055 },
        { "address_in_use", EADDRINUSE, 10048 },
        { "host_down", EHOSTDOWN, 10064 },
        { "unmapped_passes_through", EIO, EIO },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(NumeroErreurSocket(c.codeErrno), c.numero);
    }
#endif
}

} // namespace
} // namespace tq
