#pragma once

#include <QString>

#include <sys/resource.h>

// A folder on a full file system, for tests of what a failed write leaves behind.
// As root, a small tmpfs is mounted on the (empty) folder while the object lives; Riempi() then takes
// its last free block. Where mounting is refused, Riempi() gives this process a file-size limit of
// zero with SIGXFSZ ignored, so that a write fails the same way until Libera(). Where neither is
// possible, Pronto() is false and Motivo() says why.
class DiscoPieno
{
public:
    explicit DiscoPieno(const QString &cartella);
    ~DiscoPieno();
    DiscoPieno(const DiscoPieno &) = delete;
    DiscoPieno &operator=(const DiscoPieno &) = delete;

    bool Pronto() const { return m_pronto; }
    // A real full file system (else a file-size limit stands in for it).
    bool Montato() const { return m_montato; }
    QString Motivo() const { return m_motivo; }

    void Riempi();
    // Frees the space again (the filling file is removed) or lifts the limit.
    void Libera();

private:
    QString m_cartella;
    bool m_montato = false;
    bool m_pronto = false;
    bool m_limitato = false;
    QString m_motivo;
    struct rlimit m_limitePrecedente {
    };
    void (*m_segnalePrecedente)(int) = nullptr;
};
