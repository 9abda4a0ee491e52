// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "kit/Jpeg.h"

#include <QFile>
#include <QSysInfo>

#include <csetjmp>
#include <cstdio>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace Jpeg
{

namespace
{

struct GestoreErrori {
    jpeg_error_mgr base;
    std::jmp_buf salto;
};

// libjpeg's default error exit ends the process; this one returns to the decoder instead.
[[noreturn]] void uscitaErrore(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<GestoreErrori *>(info->err)->salto, 1);
}

void nessunMessaggio(j_common_ptr) {}

struct Pixel {
    QImage immagine;
    std::vector<unsigned char> rigaCmyk;
};

// Each pixel as Qt's opaque 32-bit format holds it in memory, so the decoded rows are the image's own
// rows: no second buffer, no conversion when the picture becomes a pixmap.
constexpr J_COLOR_SPACE SpazioRgb32 =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Only plain C data lives in this frame, so the jump back from libjpeg skips no destructor; the
// image belongs to the caller's frame.
bool decodificaInRgb32(const unsigned char *dati, unsigned long lunghezza, Pixel *uscita)
{
    jpeg_decompress_struct info;
    GestoreErrori errori;
    info.err = jpeg_std_error(&errori.base);
    errori.base.error_exit = uscitaErrore;
    errori.base.output_message = nessunMessaggio;
    if (setjmp(errori.salto)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, dati, lunghezza);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : SpazioRgb32;
    jpeg_calc_output_dimensions(&info);
    const qint64 pixel = static_cast<qint64>(info.output_width) * info.output_height;
    if (pixel <= 0 || pixel > PixelMassimi) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    uscita->immagine = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                              QImage::Format_RGB32);
    if (uscita->immagine.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    try {
        if (cmyk)
            uscita->rigaCmyk.resize(static_cast<std::size_t>(info.output_width) * 4);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 4) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    unsigned char *rigaCmyk = uscita->rigaCmyk.data();
    while (info.output_scanline < info.output_height) {
        auto *destinazione =
            reinterpret_cast<QRgb *>(uscita->immagine.scanLine(static_cast<int>(info.output_scanline)));
        JSAMPROW riga = cmyk ? rigaCmyk : reinterpret_cast<JSAMPROW>(destinazione);
        if (jpeg_read_scanlines(&info, &riga, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        if (cmyk) {
            // Adobe writes CMYK inverted: each channel already holds 255 minus the ink.
            for (JDIMENSION x = 0; x < info.output_width; ++x) {
                const unsigned k = rigaCmyk[4 * x + 3];
                destinazione[x] = qRgb(static_cast<int>(rigaCmyk[4 * x] * k / 255),
                                       static_cast<int>(rigaCmyk[4 * x + 1] * k / 255),
                                       static_cast<int>(rigaCmyk[4 * x + 2] * k / 255));
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage Decodifica(const QByteArray &dati)
{
    if (dati.isEmpty())
        return {};
    Pixel pixel;
    if (!decodificaInRgb32(reinterpret_cast<const unsigned char *>(dati.constData()),
                           static_cast<unsigned long>(dati.size()), &pixel))
        return {};
    return std::move(pixel.immagine);
}

QPixmap Carica(const QString &percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(Decodifica(file.readAll()));
}

} // namespace Jpeg
