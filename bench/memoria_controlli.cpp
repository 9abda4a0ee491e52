// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What repeated update checks hold: the resident memory of this process after each of 60 checks of a
// version page of 1,000,000 bytes, served by a minimal HTTP server on 127.0.0.1 in the same process.
// A check keeps only what a later one can still use, so the figure after the last check should stand
// where it stood after the first.
//
//   build/bench/memoria_controlli [CHECKS]

#include "aggiornamento/ControlloVersione.h"
#include "support/SostituzioniProva.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>

namespace
{

// The resident set of this process, in kB.
long Residente()
{
    QFile stato(QStringLiteral("/proc/self/status"));
    if (!stato.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &riga : stato.readAll().split('\n'))
        if (riga.startsWith("VmRSS:"))
            return riga.mid(6).trimmed().split(' ').constFirst().toLong();
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication applicazione(argc, argv);
    const int controlli = argc > 1 ? std::atoi(argv[1]) : 60;

    // A page just under the browser's limit, with no version on it: every check scans it.
    QByteArray pagina = "<html><body>";
    while (pagina.size() < 1000000 - 20)
        pagina += "<p>sei numeri su novanta</p>\n";
    pagina += "</body></html>";
    const QByteArray risposta =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(pagina.size()) +
        "\r\nConnection: close\r\n\r\n" + pagina;
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return 1;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &risposta] {
                if (socket->readAll().contains("\r\n\r\n")) {
                    socket->write(risposta);
                    socket->disconnectFromHost();
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    SostituzioniProva sostituzioni;
    sostituzioni.IndirizzoSito(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));

    ControlloVersione controllo;
    QEventLoop attesa;
    QObject::connect(&controllo, &ControlloVersione::ControlloConcluso, &attesa, &QEventLoop::quit);
    QObject::connect(&controllo, &ControlloVersione::ControlloFallito, &attesa, &QEventLoop::quit);
    long primo = 0;
    for (int i = 1; i <= controlli; ++i) {
        controllo.Controlla();
        attesa.exec();
        if (i == 1)
            primo = Residente();
    }
    const long ultimo = Residente();
    std::printf("resident memory after check 1: %ld kB, after check %d: %ld kB (%+ld kB, %.1f kB a check)\n",
                primo, controlli, ultimo, ultimo - primo,
                controlli > 1 ? double(ultimo - primo) / (controlli - 1) : 0.0);
    return 0;
}
