// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A small web server on 127.0.0.1 for the tests that load pages: each address answers as it is told,
// one request per connection. It also serves as a proxy (it accepts a full address in the request line),
// so a test can check that the proxy is used without leaving the machine.
class ServerProva : public QObject
{
    Q_OBJECT
public:
    struct Risposta {
        int stato = 200;
        QByteArray tipo = "text/html";
        QList<QByteArray> intestazioni; // further header lines, "Name: value"
        QByteArray corpo;
        // When >= 0, only this many bytes of the body are sent (the headers still announce all of it);
        // then the connection is closed, or held open in silence with `tieniAperta`.
        qint64 taglio = -1;
        bool tieniAperta = false;
        // Reads the request and never answers.
        bool silenzio = false;
        // The body, announced with no length, is sent again and again for as long as the client reads.
        bool senzaFine = false;
        // The body is sent as it stands, with no length of the server's own: the test writes its
        // framing (chunks) and any length header.
        bool grezzo = false;
    };

    ServerProva();
    ~ServerProva() override;

    // What a path (with its query, if the request has one) answers; an unknown path answers 404.
    void Imposta(const QByteArray &percorso, const Risposta &risposta);
    void ImpostaPagina(const QByteArray &percorso, const QByteArray &html);
    // The path reads the request and never answers.
    void ImpostaMuto(const QByteArray &percorso);

    QUrl Indirizzo(const QByteArray &percorso = "/") const;
    quint16 Porta() const { return m_server.serverPort(); }

    // The request targets received, in order, as they appeared in the request line.
    const QList<QByteArray> &Richieste() const { return m_richieste; }
    // The requests' heads (request line and header lines, each ending in CR LF), in the same order.
    const QList<QByteArray> &Teste() const { return m_teste; }
    // Connections currently open (answered or not) from the client.
    int ConnessioniAperte() const;
    // Bytes sent so far, over every connection (those still in the kernel's buffers included).
    qint64 Inviati() const { return m_inviati; }
    // Drops every open connection at once, as a server that breaks down.
    void ChiudiConnessioni();

    // A port on 127.0.0.1 where nothing listens.
    static quint16 PortaChiusa();
    // Bytes of no markup at all, the same for the same seed: garbage pages and setup files.
    static QByteArray BytesCasuali(qsizetype quanti, quint32 seme);

private:
    void nuovaConnessione();
    void leggi(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QByteArray, Risposta> m_risposte;
    QList<QByteArray> m_richieste;
    QList<QByteArray> m_teste;
    QList<QPointer<QTcpSocket>> m_connessioni;
    QHash<QTcpSocket *, QByteArray> m_ricevuto;
    qint64 m_inviati = 0;
};
