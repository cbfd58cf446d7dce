#include "details/sample_drawing.h"

#include "details/font_sample.h"

#include <hb.h>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QtMath>
#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace kestrix::details {

namespace {

template <auto destroy>
struct HbDestroy {
    template <typename Object>
    void operator()(Object* object) const {
        destroy(object);
    }
};
using HbBlob = std::unique_ptr<hb_blob_t, HbDestroy<hb_blob_destroy>>;
using HbFace = std::unique_ptr<hb_face_t, HbDestroy<hb_face_destroy>>;
using HbFont = std::unique_ptr<hb_font_t, HbDestroy<hb_font_destroy>>;
using HbFontFuncs = std::unique_ptr<hb_font_funcs_t, HbDestroy<hb_font_funcs_destroy>>;
using HbBuffer = std::unique_ptr<hb_buffer_t, HbDestroy<hb_buffer_destroy>>;

// HarfBuzz is given sizes in 26.6 fixed point.
constexpr double hbUnits = 64;

hb_bool_t engineGlyph(hb_font_t*, void* font, hb_codepoint_t character, hb_codepoint_t* glyph,
                      void*) {
    const auto ucs4 = static_cast<char32_t>(character);
    const QList<quint32> glyphs =
        static_cast<const QRawFont*>(font)->glyphIndexesForString(QString::fromUcs4(&ucs4, 1));
    if (glyphs.size() != 1 || glyphs.front() == 0) {
        return false;
    }
    *glyph = glyphs.front();
    return true;
}

hb_position_t engineAdvance(hb_font_t*, void* font, hb_codepoint_t glyph, void*) {
    const quint32 index = glyph;
    QPointF advance;
    static_cast<const QRawFont*>(font)->advancesForGlyphIndexes(&index, &advance, 1);
    return static_cast<hb_position_t>(qRound(advance.x() * hbUnits));
}

struct Glyph {
    quint32 index;
    QPointF offset;  // from the pen, y down
    double advance;
    bool blank;  // stands for a space: a line may break there
};

// The sample's glyphs as HarfBuzz shapes them by the font's own tables (substitutions,
// positioning), each character's glyph and each glyph's advance being the engine's, as when Qt
// shapes: so fonts without such tables (bitmap .fon files) are drawn as well.
std::vector<Glyph> shape(const QByteArray& bytes, const QRawFont& font) {
    const HbBlob blob(hb_blob_create(bytes.constData(), static_cast<unsigned>(bytes.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    const HbFace face(hb_face_create(blob.get(), 0));
    const HbFont tables(hb_font_create(face.get()));
    const HbFontFuncs engine(hb_font_funcs_create());
    hb_font_funcs_set_nominal_glyph_func(engine.get(), engineGlyph, nullptr, nullptr);
    hb_font_funcs_set_glyph_h_advance_func(engine.get(), engineAdvance, nullptr, nullptr);
    // What the engine does not answer, the font's tables do.
    const HbFont shaper(hb_font_create_sub_font(tables.get()));
    hb_font_set_funcs(shaper.get(), engine.get(), const_cast<QRawFont*>(&font), nullptr);
    const int scale = qRound(font.pixelSize() * hbUnits);
    hb_font_set_scale(shaper.get(), scale, scale);

    const HbBuffer buffer(hb_buffer_create());
    hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(sampleText.utf16()),
                        static_cast<int>(sampleText.size()), 0,
                        static_cast<int>(sampleText.size()));
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(shaper.get(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
    std::vector<Glyph> glyphs;
    for (unsigned i = 0; i < count; ++i) {
        const hb_glyph_position_t& at = positions[i];
        glyphs.push_back(
            {infos[i].codepoint, QPointF(at.x_offset, -at.y_offset) / hbUnits,
             at.x_advance / hbUnits,
             sampleText.at(qMin<qsizetype>(infos[i].cluster, sampleText.size() - 1)).isSpace()});
    }
    return glyphs;
}

using Line = std::vector<Glyph>;
using GlyphSpan = std::vector<Glyph>::const_iterator;

double advanceOf(GlyphSpan from, GlyphSpan to) {
    return std::accumulate(from, to, 0.0,
                           [](double sum, const Glyph& glyph) { return sum + glyph.advance; });
}

// The glyphs in lines no wider than `width`, broken where blanks are (which go with the break);
// a word wider than a line has one to itself.
std::vector<Line> breakLines(const std::vector<Glyph>& glyphs, double width) {
    std::vector<Line> lines(1);
    double lineWidth = 0;
    for (auto at = glyphs.cbegin(); at != glyphs.cend();) {
        const auto word =
            std::find_if(at, glyphs.cend(), [](const Glyph& glyph) { return !glyph.blank; });
        const auto end =
            std::find_if(word, glyphs.cend(), [](const Glyph& glyph) { return glyph.blank; });
        const double blanks = advanceOf(at, word);
        const double wordWidth = advanceOf(word, end);
        if (!lines.back().empty() && lineWidth + blanks + wordWidth > width) {
            lines.emplace_back(word, end);
            lineWidth = wordWidth;
        } else {
            lines.back().insert(lines.back().end(), at, end);
            lineWidth += blanks + wordWidth;
        }
        at = end;
    }
    return lines;
}

QImage drawLines(const QRawFont& font, const std::vector<Line>& lines, int width) {
    // A font may claim any ascent and descent: its lines stay one to four sizes apart.
    const double size = font.pixelSize();
    const int lineHeight =
        qBound(qCeil(size), qCeil(font.ascent() + font.descent()), qCeil(4 * size));
    const int baseline = qBound(0, qCeil(font.ascent()), lineHeight);
    QImage image(width, lineHeight * static_cast<int>(lines.size()), QImage::Format_Alpha8);
    image.fill(0);
    QPainter painter(&image);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        QList<quint32> indexes;
        QList<QPointF> positions;
        double pen = 0;
        for (const Glyph& glyph : lines[line]) {
            indexes << glyph.index;
            positions << QPointF(pen, 0) + glyph.offset;
            pen += glyph.advance;
        }
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, baseline + lineHeight * static_cast<int>(line)), run);
    }
    return image;
}

}  // namespace

QList<QImage> drawSamples(const QByteArray& font, double pixelRatio) {
    const int width = std::min(qCeil(sampleWidth * pixelRatio), widestSample);
    const double drawnRatio = static_cast<double>(width) / sampleWidth;
    QList<QImage> samples;
    for (const int points : samplePointSizes) {
        const QRawFont sized(font, pixelSize(points) * drawnRatio);
        if (!sized.isValid()) {
            return {};
        }
        samples << drawLines(sized, breakLines(shape(font, sized), width), width);
    }
    return samples;
}

}  // namespace kestrix::details
