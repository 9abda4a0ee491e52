// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The play log when memory runs out: the play that cannot be recorded leaves every earlier line
// exactly as it was, and recording goes on once memory is there again.
#include "principale/RegistroGiocate.h"

#include <QApplication>
#include <QTest>

#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
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

// What the child process found, as its exit status.
enum Esito { Riuscito = 0, NessunErrore = 10, RigheCambiate = 11, NonRiprende = 12 };
} // namespace

class TestRegistroGiocate : public QObject
{
    Q_OBJECT
private slots:
    void memoriaEsaurita()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves address space that a limit on it would break");
#endif
        RegistroGiocate registro;
        registro.Svuota();
        for (int i = 0; i < 1000; ++i)
            registro.Aggiungi(QStringLiteral("%1 12 33 47 68 90").arg(i % 89 + 1, 2, 10, QLatin1Char('0')));

        const pid_t figlio = fork();
        QVERIFY(figlio >= 0);
        if (figlio == 0) {
            // In the child: ended by SIGALRM should the log never run out of memory (the parent then
            // sees no exit status); cap the address space a little above what is in use, then play on.
            alarm(10);
            const rlimit limite{MemoriaVirtuale() + (48u << 20), RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &limite);
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
            const rlimit libero{RLIM_INFINITY, RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &libero);
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

QTEST_MAIN(TestRegistroGiocate)
#include "tst_registrogiocate.moc"
