// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

// Makes every file system refuse this process a file without a name, as FUSE mounts and network file
// systems do: from now on, for the rest of the process, an open that asks for one fails with
// EOPNOTSUPP, as theirs does. It cannot be undone: for a child process that a test starts. False where
// it cannot be done.
inline bool SenzaFileAnonimi()
{
#if defined(__x86_64__)
    constexpr __u32 architettura = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr __u32 architettura = AUDIT_ARCH_AARCH64;
#else
    return false;
#endif
    // The flag lies in the low word of the third argument of openat (the machines above are
    // little-endian).
    sock_filter filtro[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, architettura, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog programma{static_cast<unsigned short>(sizeof filtro / sizeof filtro[0]), filtro};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programma) == 0;
}
