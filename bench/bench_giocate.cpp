// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cost of one press of "Gioca" as the play log grows, the memory a million plays take, and a press
// as the user makes it next to the same press in a bare Qt window.
//
//   cmake -S . -B build-bench -DKELMO_BENCH=ON && cmake --build build-bench --target bench_giocate
//   build-bench/bench/bench_giocate --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
//       --benchmark_report_aggregates_only=true
// Instructions per press, steadier than wall time on a busy machine:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='TFrmMain::BTSgiocaClick()'
//       build-bench/bench/bench_giocate --benchmark_filter=BM_Pressione/100000/
//   (total Ir divided by 5001 presses: the 5000 timed ones and the first play of the setup)
//
// Targets: a press with 10^5 plays in the log costs at most 1.2 times a press with an empty log;
// 10^6 plays take at most 64 MB; a click on the shown window's "Gioca" until its fields are repainted
// (BM_ClicGioca) costs at most 1.1 times the same click in the bare window (BM_ClicNudo).
// BM_Pressione/0 is the button's click alone, with no pointer event and no repaint.

#include "kit/Applicazione.h"
#include "principale/RegistroGiocate.h"
#include "principale/TFrmMain.h"
#include "regole/Estrazione.h"
#include "regole/Numeri.h"
#include "support/Controllo.h"
#include "support/SostituzioniProva.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace
{

// Presses timed per run: few enough that the log barely grows during the run (0 stays near 0),
// enough to average over the repeated attempts of the draw.
constexpr benchmark::IterationCount Pressioni = 5000;

QPushButton *Gioca(const TFrmMain &finestra)
{
    return Controllo<QPushButton>(finestra, "BTSgioca");
}

RegistroGiocate *Registro(const TFrmMain &finestra)
{
    return Controllo<RegistroGiocate>(finestra, "Memo1");
}

// A main window in the state it has after some plays: printing enabled, the placeholder gone and
// `giocate` lines in the log, each a play as the draw makes it.
std::unique_ptr<TFrmMain> FinestraConGiocate(qsizetype giocate)
{
    auto finestra = std::make_unique<TFrmMain>();
    Gioca(*finestra)->click(); // the first-play rule: printing on, placeholder gone
    Registro(*finestra)->Svuota();
    Estrazione::Generatore generatore(12345);
    Estrazione::Combinazione campi;
    for (qsizetype i = 0; i < giocate; ++i) {
        for (QString &campo : campi)
            campo = Numeri::DueCifre(Estrazione::NumeroEstratto(generatore));
        Registro(*finestra)->Aggiungi(Estrazione::RigaGiocata(campi));
    }
    return finestra;
}

void BM_Pressione(benchmark::State &stato)
{
    const qsizetype giocate = stato.range(0);
    const auto finestra = FinestraConGiocate(giocate);
    QPushButton *gioca = Gioca(*finestra);
    for (auto _ : stato)
        gioca->click();
    if (Registro(*finestra)->Conteggio() != giocate + stato.iterations())
        stato.SkipWithError("a press did not add exactly one line to the log");
    stato.counters["giocate_nel_registro"] = static_cast<double>(giocate);
    stato.SetItemsProcessed(stato.iterations());
}
BENCHMARK(BM_Pressione)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(Pressioni)
    ->Unit(benchmark::kMicrosecond);

// Bytes in use on the heap: the small-block arena plus the blocks that malloc maps on their own.
std::size_t HeapInUso()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Resident pages of the process, in bytes: what the log's memory really touches.
std::size_t Residente()
{
    long totali = 0, residenti = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &totali, &residenti) != 2)
            residenti = 0;
        std::fclose(statm);
    }
    return static_cast<std::size_t>(residenti) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The memory a million plays take: the heap before and after a million presses on an emptied log.
void BM_MemoriaMilioneGiocate(benchmark::State &stato)
{
    constexpr qsizetype Giocate = 1000000;
    double heapMB = 0, residenteMB = 0;
    for (auto _ : stato) {
        const auto finestra = FinestraConGiocate(0);
        malloc_trim(0);
        const std::size_t heapPrima = HeapInUso();
        const std::size_t residentePrima = Residente();
        QPushButton *gioca = Gioca(*finestra);
        for (qsizetype i = 0; i < Giocate; ++i)
            gioca->click();
        heapMB = static_cast<double>(HeapInUso() - heapPrima) / 1e6;
        residenteMB = static_cast<double>(Residente() - residentePrima) / 1e6;
        if (Registro(*finestra)->Conteggio() != Giocate)
            stato.SkipWithError("the log does not hold a million plays");
    }
    stato.counters["heap_MB"] = heapMB;
    stato.counters["residente_MB"] = residenteMB;
    stato.counters["byte_per_giocata"] = heapMB * 1e6 / static_cast<double>(Giocate);
}
// The heap figure does not vary between runs, and a million presses take a while: one run is enough.
BENCHMARK(BM_MemoriaMilioneGiocate)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

// Counts the paint events of one control: the sign that a press has reached the screen.
class ContaPitture : public QObject
{
public:
    explicit ContaPitture(QWidget *controllo) { controllo->installEventFilter(this); }
    int Pitture() const { return m_pitture; }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint)
            ++m_pitture;
        return QObject::eventFilter(oggetto, evento);
    }

private:
    int m_pitture = 0;
};

// One click on a shown window's button, as the windowing system delivers it, then the events that
// follow until the window has been painted again. A field whose new text equals the old one is not
// repainted, but the released button always is, in the same repaint as the fields.
void Clic(benchmark::State &stato, QWidget *pulsante)
{
    QWidget *finestra = pulsante->window();
    finestra->show();
    if (!QTest::qWaitForWindowExposed(finestra)) {
        stato.SkipWithError("the window was never exposed");
        return;
    }
    const QPoint centro = pulsante->mapTo(finestra, pulsante->rect().center());
    ContaPitture pitture(pulsante);
    for (auto _ : stato) {
        const int prima = pitture.Pitture();
        QTest::mouseClick(finestra->windowHandle(), Qt::LeftButton, {}, centro);
        while (pitture.Pitture() == prima)
            QCoreApplication::processEvents();
    }
    stato.SetItemsProcessed(stato.iterations());
}

void BM_ClicGioca(benchmark::State &stato)
{
    const auto finestra = FinestraConGiocate(0);
    Clic(stato, Gioca(*finestra));
    if (Registro(*finestra)->Conteggio() != stato.iterations())
        stato.SkipWithError("a click did not add exactly one line to the log");
}
BENCHMARK(BM_ClicGioca)->Iterations(Pressioni)->Unit(benchmark::kMicrosecond);

// The bare window: one button that fills six line edits with two-digit numbers and appends them as a
// line to a list.
void BM_ClicNudo(benchmark::State &stato)
{
    QWidget finestra;
    finestra.resize(213, 168);
    QPushButton pulsante(QStringLiteral("Gioca"), &finestra);
    pulsante.setGeometry(29, 67, 96, 22);
    std::array<QLineEdit *, 6> campi{};
    for (int i = 0; i < 6; ++i) {
        campi[i] = new QLineEdit(QStringLiteral("??"), &finestra);
        campi[i]->setGeometry(36 + 24 * i, 110, 23, 24);
        campi[i]->setReadOnly(true);
        campi[i]->setMaxLength(2);
    }
    QStringList righe;
    QObject::connect(&pulsante, &QPushButton::clicked, [&] {
        QStringList testi;
        for (QLineEdit *campo : campi) {
            const QString testo = QStringLiteral("%1").arg(1 + QRandomGenerator::global()->bounded(89), 2, 10,
                                                           QLatin1Char('0'));
            campo->setText(testo);
            testi.append(testo);
        }
        righe.append(testi.join(QLatin1Char(' ')));
    });
    Clic(stato, &pulsante);
    if (righe.size() != stato.iterations())
        stato.SkipWithError("a click did not add exactly one line to the list");
}
BENCHMARK(BM_ClicNudo)->Iterations(Pressioni)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // Windows are built, and shown for the clicks, offscreen: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Applicazione applicazione(argc, argv);
    // The executable's folder is an empty temporary one, so no fixed-number file is ever read.
    QTemporaryDir cartella;
    if (!cartella.isValid())
        return EXIT_FAILURE;
    SostituzioniProva sostituzioni;
    sostituzioni.CartellaEseguibile(cartella.path());

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
