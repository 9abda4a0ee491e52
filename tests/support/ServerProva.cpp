// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ServerProva.h"

#include <QRandomGenerator>
#include <QTcpSocket>

ServerProva::ServerProva()
{
    connect(&m_server, &QTcpServer::newConnection, this, &ServerProva::nuovaConnessione);
    if (!m_server.listen(QHostAddress::LocalHost))
        qFatal("test server: cannot listen on 127.0.0.1: %s", qPrintable(m_server.errorString()));
}

ServerProva::~ServerProva()
{
    ChiudiConnessioni();
}

void ServerProva::Imposta(const QByteArray &percorso, const Risposta &risposta)
{
    m_risposte.insert(percorso, risposta);
}

void ServerProva::ImpostaPagina(const QByteArray &percorso, const QByteArray &html)
{
    Risposta risposta;
    risposta.corpo = html;
    Imposta(percorso, risposta);
}

void ServerProva::ImpostaMuto(const QByteArray &percorso)
{
    Risposta muto;
    muto.silenzio = true;
    Imposta(percorso, muto);
}

QUrl ServerProva::Indirizzo(const QByteArray &percorso) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(Porta()).arg(QString::fromLatin1(percorso)));
}

int ServerProva::ConnessioniAperte() const
{
    int aperte = 0;
    for (const QPointer<QTcpSocket> &socket : m_connessioni)
        aperte += socket && socket->state() == QAbstractSocket::ConnectedState;
    return aperte;
}

void ServerProva::ChiudiConnessioni()
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_connessioni)) {
        if (socket) {
            socket->abort();
            socket->deleteLater();
        }
    }
    m_connessioni.clear();
    m_ricevuto.clear();
}

quint16 ServerProva::PortaChiusa()
{
    QTcpServer libero;
    libero.listen(QHostAddress::LocalHost);
    const quint16 porta = libero.serverPort();
    libero.close();
    return porta;
}

QByteArray ServerProva::BytesCasuali(qsizetype quanti, quint32 seme)
{
    QRandomGenerator generatore(seme);
    QByteArray dati(quanti, Qt::Uninitialized);
    for (char &c : dati)
        c = char(generatore.bounded(256));
    return dati;
}

void ServerProva::nuovaConnessione()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_connessioni.append(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { leggi(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 quanti) { m_inviati += quanti; });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_ricevuto.remove(socket);
            socket->deleteLater();
        });
    }
}

void ServerProva::leggi(QTcpSocket *socket)
{
    QByteArray &ricevuto = m_ricevuto[socket];
    if (ricevuto.endsWith("\r\n\r\n"))
        return; // already answered (or held in silence): one request per connection
    ricevuto += socket->readAll();
    if (ricevuto.startsWith('\x16')) {
        // A TLS handshake: this server speaks plain HTTP only.
        m_richieste.append("(TLS)");
        socket->write("HTTP/1.1 400 Plain HTTP\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    if (!ricevuto.contains("\r\n\r\n"))
        return;
    ricevuto.truncate(ricevuto.indexOf("\r\n\r\n") + 4);

    // "GET /path?query HTTP/1.1", or "GET http://host/path HTTP/1.1" through a proxy.
    const QList<QByteArray> riga = ricevuto.left(ricevuto.indexOf("\r\n")).split(' ');
    QByteArray obiettivo = riga.value(1);
    m_richieste.append(obiettivo);
    m_teste.append(ricevuto.chopped(2));
    if (obiettivo.startsWith("http://")) {
        const qsizetype barra = obiettivo.indexOf('/', 7);
        obiettivo = barra < 0 ? QByteArray("/") : obiettivo.mid(barra);
    }
    const QByteArray percorso = obiettivo.left(obiettivo.indexOf('?'));

    Risposta risposta;
    if (m_risposte.contains(obiettivo))
        risposta = m_risposte.value(obiettivo);
    else if (m_risposte.contains(percorso))
        risposta = m_risposte.value(percorso);
    else {
        risposta.stato = 404;
        risposta.corpo = "<html><body><h1>Non trovato</h1></body></html>";
    }
    if (risposta.silenzio)
        return;

    QByteArray testa = "HTTP/1.1 " + QByteArray::number(risposta.stato) + " Risposta\r\n";
    if (!risposta.tipo.isEmpty())
        testa += "Content-Type: " + risposta.tipo + "\r\n";
    if (!risposta.senzaFine && !risposta.grezzo)
        testa += "Content-Length: " + QByteArray::number(risposta.corpo.size()) + "\r\n";
    for (const QByteArray &intestazione : risposta.intestazioni)
        testa += intestazione + "\r\n";
    testa += "Connection: close\r\n\r\n";
    socket->write(testa);
    if (risposta.senzaFine && !risposta.corpo.isEmpty()) {
        // About a megabyte stays queued: the client sets the pace.
        const QByteArray corpo = risposta.corpo;
        const auto rabbocca = [socket, corpo] {
            while (socket->bytesToWrite() < 1024 * 1024)
                socket->write(corpo);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, rabbocca);
        rabbocca();
        return;
    }
    socket->write(risposta.taglio >= 0 ? risposta.corpo.left(risposta.taglio) : risposta.corpo);
    if (!risposta.tieniAperta)
        socket->disconnectFromHost(); // after what was written has gone out
}
