// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aggiornamento/CorpoDocumento.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <climits>
#include <cstring>
#include <memory>

namespace CorpoDocumento
{

namespace
{

struct LiberaDocumento {
    void operator()(xmlDoc *documento) const { xmlFreeDoc(documento); }
};
struct ChiudiUscita {
    void operator()(xmlOutputBuffer *uscita) const { xmlOutputBufferClose(uscita); }
};

// The first body element in document order. The walk is iterative: a hostile page may nest deeply.
xmlNode *TrovaCorpo(xmlNode *nodo)
{
    while (nodo) {
        if (nodo->type == XML_ELEMENT_NODE &&
            std::strcmp(reinterpret_cast<const char *>(nodo->name), "body") == 0)
            return nodo;
        if (nodo->children && nodo->type == XML_ELEMENT_NODE) {
            nodo = nodo->children;
            continue;
        }
        while (nodo && !nodo->next)
            nodo = nodo->parent && nodo->parent->type == XML_ELEMENT_NODE ? nodo->parent : nullptr;
        if (nodo)
            nodo = nodo->next;
    }
    return nullptr;
}

void Taci(void *, const char *, ...) {}
void TaciErrore(void *, xmlErrorPtr) {}

// Browsers read pages declared as Latin-1 or ASCII as Windows-1252, which gives meaning to 0x80-0x9F.
QByteArray CodificaDaUsare(const QByteArray &dichiarata)
{
    const QByteArray nome = dichiarata.trimmed().toLower();
    if (nome == "iso-8859-1" || nome == "iso8859-1" || nome == "latin1" || nome == "us-ascii" ||
        nome == "ascii")
        return QByteArrayLiteral("windows-1252");
    return nome;
}

} // namespace

std::optional<QByteArray> Corpo(QByteArrayView risposta, const QByteArray &codifica)
{
    static const bool pronto = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(pronto);
    // Nothing of a page's faults is worth telling: the flags silence the parser, and these the
    // character conversions, which otherwise write to standard error. (The handlers are per thread.)
    xmlSetGenericErrorFunc(nullptr, Taci);
    xmlSetStructuredErrorFunc(nullptr, TaciErrore);

    if (risposta.isEmpty() || risposta.size() > INT_MAX)
        return std::nullopt;

    // XML_PARSE_HUGE (which the HTML parser honours too): without it a single run of text beyond ten million
    // characters is cut short and the rest of the page silently lost.
    const int opzioni =
        HTML_PARSE_NONET | HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | XML_PARSE_HUGE;
    const QByteArray nomeCodifica = CodificaDaUsare(codifica);
    std::unique_ptr<xmlDoc, LiberaDocumento> documento(
        htmlReadMemory(risposta.data(), int(risposta.size()), nullptr,
                       nomeCodifica.isEmpty() ? nullptr : nomeCodifica.constData(), opzioni));
    if (!documento && !nomeCodifica.isEmpty()) {
        // A character set the library does not know: read the page as if none had been declared.
        documento.reset(htmlReadMemory(risposta.data(), int(risposta.size()), nullptr, nullptr, opzioni));
    }
    if (!documento)
        return std::nullopt;

    xmlNode *corpo = TrovaCorpo(documento->children);
    if (!corpo)
        return std::nullopt;

    std::unique_ptr<xmlOutputBuffer, ChiudiUscita> uscita(xmlAllocOutputBuffer(nullptr));
    if (!uscita)
        return std::nullopt;
    htmlNodeDumpFormatOutput(uscita.get(), documento.get(), corpo, nullptr, 0);
    xmlOutputBufferFlush(uscita.get());
    return QByteArray(reinterpret_cast<const char *>(xmlOutputBufferGetContent(uscita.get())),
                      qsizetype(xmlOutputBufferGetSize(uscita.get())));
}

} // namespace CorpoDocumento
