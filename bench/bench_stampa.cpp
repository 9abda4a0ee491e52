// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The cost of printing the whole play log to a PDF file, as "Stampa" does after "print to file" is
// picked in the printer dialog: laying the lines out in device pixels, drawing them, writing the file.
//
//   cmake -S . -B build-bench -DKELMO_BENCH=ON && cmake --build build-bench --target bench_stampa
//   build-bench/bench/bench_stampa --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// Target: 10^4 plays in at most 1 second, the time growing linearly with the number of plays.

#include "kit/Applicazione.h"
#include "regole/Estrazione.h"
#include "regole/Numeri.h"
#include "stampa/StampaGiocate.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{

QTemporaryDir *cartellaPdf = nullptr;

// Plays as the draw writes them into the log.
QStringList Giocate(qsizetype quante)
{
    QStringList righe;
    righe.reserve(quante);
    Estrazione::Generatore generatore(12345);
    Estrazione::Combinazione campi;
    for (qsizetype i = 0; i < quante; ++i) {
        for (QString &campo : campi)
            campo = Numeri::DueCifre(Estrazione::NumeroEstratto(generatore));
        righe << Estrazione::RigaGiocata(campi);
    }
    return righe;
}

void BM_StampaTutteLeGiocate(benchmark::State &stato)
{
    const QStringList righe = Giocate(stato.range(0));
    QFont campo(QStringLiteral("MS Sans Serif"), 10);
    campo.setBold(true);
    const QFont carattere = StampaGiocate::CarattereStampa(campo);
    const QString pdf = cartellaPdf->filePath(QStringLiteral("giocate.pdf"));
    int pagine = 0;
    for (auto _ : stato) {
        // A printer as the dialog leaves it for "print to file".
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(pdf);
        pagine = StampaGiocate::StampaRiepilogo(
            stampante, carattere, [&] { return righe.size(); }, [&](qsizetype i) { return righe[i]; });
    }
    stato.counters["pagine"] = pagine;
    stato.counters["kB_pdf"] = static_cast<double>(QFileInfo(pdf).size()) / 1024.0;
    stato.SetItemsProcessed(stato.iterations() * righe.size());
}
BENCHMARK(BM_StampaTutteLeGiocate)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    // No display is needed; the fonts are the same the tests print with.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", "/usr/share/fonts/truetype");
    Applicazione applicazione(argc, argv);
    QTemporaryDir cartella;
    if (!cartella.isValid())
        return EXIT_FAILURE;
    cartellaPdf = &cartella;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
