// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The play log when memory runs out: the play that cannot be recorded leaves every earlier line
// exactly as it was, and recording goes on once memory is there again.
#include "principale/RegistroGiocate.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves far more address space than any limit on it would leave, and its own
// operator new ends the process instead of throwing when memory runs out. Under it, memory runs out
// here instead: once armed, operator new throws std::bad_alloc when the bytes it has handed out since
// would pass the budget. Every scalar form is replaced, so what one allocates its partner frees.
std::size_t g_budget = 0;
std::size_t g_dati = 0;

void *Alloca(std::size_t dimensione) noexcept
{
    if (g_budget != 0) {
        if (g_dati + dimensione > g_budget)
            return nullptr;
        g_dati += dimensione;
    }
    return std::malloc(dimensione == 0 ? 1 : dimensione);
}
#else
std::size_t MemoriaVirtuale()
{
    FILE *statm = std::fopen("/proc/self/statm", "r");
    unsigned long pagine = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pagine) != 1)
            pagine = 0;
        std::fclose(statm);
    }
    return pagine * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
#endif

// From now on memory runs out: under the sanitizer once operator new has handed out 48 MB more,
// otherwise 48 MB of address space above what is in use. With `esaurita` false, it is there again.
void Esaurisci(bool esaurita)
{
#if defined(__SANITIZE_ADDRESS__)
    g_dati = 0;
    g_budget = esaurita ? std::size_t(48) << 20 : 0;
#else
    const rlimit limite{esaurita ? MemoriaVirtuale() + (std::size_t(48) << 20) : RLIM_INFINITY,
                        RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limite);
#endif
}

// What the child process found, as its exit status.
enum Esito { Riuscito = 0, NessunErrore = 10, RigheCambiate = 11, NonRiprende = 12 };
} // namespace

class TestRegistroGiocate : public QObject
{
    Q_OBJECT
private slots:
    void memoriaEsaurita()
    {
        RegistroGiocate registro;
        registro.Svuota();
        for (int i = 0; i < 1000; ++i)
            registro.Aggiungi(QStringLiteral("%1 12 33 47 68 90").arg(i % 89 + 1, 2, 10, QLatin1Char('0')));

        const pid_t figlio = fork();
        QVERIFY(figlio >= 0);
        if (figlio == 0) {
            // In the child: ended by SIGALRM should the log never run out of memory (the parent then
            // sees no exit status); memory runs out a little above what is in use, then play on.
            alarm(10);
            Esaurisci(true);
            const QString riga = QStringLiteral("05 12 33 47 68 90");
            qsizetype righe = registro.Conteggio();
            try {
                for (;;) {
                    registro.Aggiungi(riga);
                    ++righe;
                }
            } catch (const std::bad_alloc &) {
            }
            if (registro.Conteggio() == 1000)
                _exit(NessunErrore);
            if (registro.Conteggio() != righe || registro.Riga(0) != QLatin1String("01 12 33 47 68 90") ||
                registro.Riga(righe - 1) != riga)
                _exit(RigheCambiate);
            Esaurisci(false);
            try {
                registro.Aggiungi(QStringLiteral("07 08 09 10 11 12"));
            } catch (...) {
                _exit(NonRiprende);
            }
            _exit(registro.Conteggio() == righe + 1 &&
                          registro.Riga(righe) == QLatin1String("07 08 09 10 11 12")
                      ? Riuscito
                      : RigheCambiate);
        }
        int stato = 0;
        QCOMPARE(waitpid(figlio, &stato, 0), figlio);
        QVERIFY(WIFEXITED(stato));
        QCOMPARE(WEXITSTATUS(stato), int(Riuscito));
    }
};

#if defined(__SANITIZE_ADDRESS__)
void *operator new(std::size_t dimensione)
{
    if (void *memoria = Alloca(dimensione))
        return memoria;
    throw std::bad_alloc();
}
void *operator new(std::size_t dimensione, const std::nothrow_t &) noexcept
{
    return Alloca(dimensione);
}
void operator delete(void *memoria) noexcept
{
    std::free(memoria);
}
void operator delete(void *memoria, std::size_t) noexcept
{
    std::free(memoria);
}
void operator delete(void *memoria, const std::nothrow_t &) noexcept
{
    std::free(memoria);
}
#endif

QTEST_MAIN(TestRegistroGiocate)
#include "tst_registrogiocate.moc"
