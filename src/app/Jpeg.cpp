#include "app/Jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace Jpeg {

namespace {

struct GestoreErrori
{
    jpeg_error_mgr base;
    std::jmp_buf salto;
};

// libjpeg's default error exit ends the process; this one returns to the decoder instead.
[[noreturn]] void uscitaErrore(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<GestoreErrori *>(info->err)->salto, 1);
}

void nessunMessaggio(j_common_ptr) {}

struct Pixel
{
    int larghezza = 0;
    int altezza = 0;
    std::vector<unsigned char> rgb;
    std::vector<unsigned char> rigaCmyk;
};

// Only plain C data lives in this frame, so the jump back from libjpeg skips no destructor; the
// pixel buffer belongs to the caller's frame.
bool decodificaInRgb(const unsigned char *dati, unsigned long lunghezza, Pixel *uscita)
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
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    const qint64 pixel = static_cast<qint64>(info.output_width) * info.output_height;
    if (pixel <= 0 || pixel > PixelMassimi) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    try {
        uscita->rgb.resize(static_cast<std::size_t>(pixel) * 3);
        if (cmyk)
            uscita->rigaCmyk.resize(static_cast<std::size_t>(info.output_width) * 4);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    const int componenti = info.output_components;
    if ((cmyk && componenti != 4) || (!cmyk && componenti != 3)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    uscita->larghezza = static_cast<int>(info.output_width);
    uscita->altezza = static_cast<int>(info.output_height);
    unsigned char *rgb = uscita->rgb.data();
    unsigned char *rigaCmyk = uscita->rigaCmyk.data();
    while (info.output_scanline < info.output_height) {
        unsigned char *destinazione = rgb + static_cast<std::size_t>(info.output_scanline) *
                                                       info.output_width * 3;
        JSAMPROW riga = cmyk ? rigaCmyk : destinazione;
        if (jpeg_read_scanlines(&info, &riga, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        if (cmyk) {
            // Adobe writes CMYK inverted: each channel already holds 255 minus the ink.
            for (JDIMENSION x = 0; x < info.output_width; ++x) {
                const unsigned k = rigaCmyk[4 * x + 3];
                for (int c = 0; c < 3; ++c)
                    destinazione[3 * x + c] = static_cast<unsigned char>(rigaCmyk[4 * x + c] * k / 255);
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
    if (!decodificaInRgb(reinterpret_cast<const unsigned char *>(dati.constData()),
                         static_cast<unsigned long>(dati.size()), &pixel))
        return {};
    QImage immagine(pixel.larghezza, pixel.altezza, QImage::Format_RGB888);
    if (immagine.isNull())
        return {};
    const std::size_t rigaByte = static_cast<std::size_t>(pixel.larghezza) * 3;
    for (int y = 0; y < pixel.altezza; ++y)
        std::copy_n(pixel.rgb.data() + y * rigaByte, rigaByte, immagine.scanLine(y));
    return immagine;
}

QPixmap Carica(const QString &percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(Decodifica(file.readAll()));
}

} // namespace Jpeg
