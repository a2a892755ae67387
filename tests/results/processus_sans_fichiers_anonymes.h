#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Makes the kernel refuse every unnamed file (open with O_TMPFILE) of this
// process with the error `refus`, as a file system without them does; the
// refusal cannot be lifted. False when this process may not filter its calls.
inline bool RefuserFichiersAnonymes(int refus)
{
    // The C library opens every file with openat, whose flags are the third
    // argument; the unnamed-file bit is in their low 32 bits.
    constexpr std::uint32_t BitAnonyme = O_TMPFILE & ~O_DIRECTORY;
    constexpr std::uint32_t MotBas =
        offsetof(seccomp_data, args[2]) + (std::endian::native == std::endian::big ? 4 : 0);
    sock_filter programme[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, MotBas),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, BitAnonyme, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<std::uint32_t>(refus) & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog filtre { static_cast<unsigned short>(std::size(programme)), programme };
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filtre) != 0)
        return false;
    const int essai = open(std::filesystem::temp_directory_path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const int erreur = errno;
    if (essai >= 0)
        close(essai);
    return essai < 0 && erreur == refus;
}

// Makes the kernel fail each of the system calls `appels` of this process
// with the error `erreur`, for good, as a failing disk does. False when this
// process may not filter its calls.
inline bool RefuserAppels(const std::vector<long>& appels, int erreur)
{
    std::vector<sock_filter> programme { BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)) };
    for (const long appel : appels) {
        programme.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(appel), 0, 1));
        programme.push_back(
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<std::uint32_t>(erreur) & SECCOMP_RET_DATA)));
    }
    programme.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog filtre { static_cast<unsigned short>(programme.size()), programme.data() };
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filtre) == 0;
}

// How a case run by DansUnFilsSansFichiersAnonymes ended.
enum class TFinFils { Reussi, Echoue, Saute, Indisponible };

// Runs `cas` in a child process whose unnamed files are refused with `refus`
// (0: allowed, for a case that filters other calls itself).
// The child's failed checks are printed as they happen, and make it end
// Echoue; a case that skips itself ends Saute.
inline TFinFils DansUnFilsSansFichiersAnonymes(int refus, const std::function<void()>& cas)
{
    // What is still buffered would otherwise be printed twice.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t fils = fork();
    if (fils == 0) {
        if (refus != 0 && !RefuserFichiersAnonymes(refus))
            _exit(3);
        cas();
        std::fflush(stdout);
        std::fflush(stderr);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        _exit(::testing::Test::HasFailure() ? 1 : test != nullptr && test->result()->Skipped() ? 2 : 0);
    }
    int etat = 0;
    if (fils < 0 || waitpid(fils, &etat, 0) != fils || !WIFEXITED(etat))
        return TFinFils::Echoue;
    switch (WEXITSTATUS(etat)) {
    case 0:
        return TFinFils::Reussi;
    case 2:
        return TFinFils::Saute;
    case 3:
        return TFinFils::Indisponible;
    default:
        return TFinFils::Echoue;
    }
}
