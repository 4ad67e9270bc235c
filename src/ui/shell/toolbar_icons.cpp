#include "shell/toolbar_icons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QResource>

#include <cstring>

namespace quillon {

namespace {

const QColor kInk(0x37, 0x41, 0x4f);
const QColor kPaper(0xfb, 0xfb, 0xf8);
const QColor kFolder(0xf2, 0xb1, 0x34);
const QColor kBlue(0x2f, 0x6f, 0xc6);
const QColor kGreen(0x2e, 0x9e, 0x4f);
const QColor kRed(0xd2, 0x4b, 0x2c);
const QColor kRadio(0x4a, 0x55, 0x68);

QPen ink(double width = 1.6) { return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A hand-held radio: body, antenna, display and speaker grille.
void drawRadio(QPainter &p, const QRectF &body)
{
    p.setPen(ink());
    p.setBrush(kRadio);
    p.drawLine(QPointF(body.left() + body.width() * 0.25, body.top()),
               QPointF(body.left() + body.width() * 0.25, body.top() - body.height() * 0.35));
    p.drawRoundedRect(body, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0xe0, 0xf0));
    p.drawRect(QRectF(body.left() + 2, body.top() + 3, body.width() - 4, body.height() * 0.25));
    p.setBrush(QColor(0xd0, 0xd5, 0xdd));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(body.left() + 2.5, body.top() + body.height() * 0.5 + i * 3, body.width() - 5, 1.2));
}

// A thick arrow from `from` to `to`.
void drawArrow(QPainter &p, QPointF from, QPointF to, const QColor &colour)
{
    QLineF line(from, to);
    const double head = 6;
    QLineF shaft(from, line.pointAt(1 - head / line.length()));
    p.setPen(QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shaft);
    QLineF normal = line.normalVector().unitVector();
    const QPointF n(normal.dx() * head * 0.8, normal.dy() * head * 0.8);
    const QPointF base = shaft.p2();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, base + n, base - n}));
}

void drawPage(QPainter &p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawPath(page);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
    p.setPen(QPen(kBlue, 1.4));
    for (int y = 14; y <= 24; y += 5)
        p.drawLine(QPointF(11, y), QPointF(22, y));
}

void drawFolder(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kFolder.darker(115));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(27, 11);
    back.lineTo(27, 26);
    back.lineTo(3, 26);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({QPointF(3, 26), QPointF(8, 15), QPointF(30, 15), QPointF(26, 26)}));
}

void drawDisk(QPainter &p)
{
    p.setPen(ink());
    p.setBrush(kBlue);
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 16, 16, 12));
    p.setBrush(QColor(0xd0, 0xd5, 0xdd));
    p.drawRect(QRectF(9, 4, 12, 8));
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(17, 5.5, 3, 5));
}

void drawPadlock(QPainter &p)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    // An open shackle: the mode is unlocked until the double press.
    p.drawArc(QRectF(13, 3, 13, 14), 0, 180 * 16);
    p.drawLine(QPointF(26, 10), QPointF(26, 15));
    p.setPen(ink());
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(5, 15, 18, 14), 2, 2);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(14, 21), 2, 2);
}

void drawSliders(QPainter &p)
{
    const double knobs[] = {10, 20, 14};
    for (int i = 0; i < 3; ++i) {
        const double x = 8 + i * 8;
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 4), QPointF(x, 28));
        p.setPen(ink(1.2));
        p.setBrush(kGreen);
        p.drawRoundedRect(QRectF(x - 3.5, knobs[i] - 2.5, 7, 5), 1.5, 1.5);
    }
}

void drawWaves(QPainter &p)
{
    drawRadio(p, QRectF(4, 12, 11, 17));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
        const double r = 5 + i * 4.5;
        p.drawArc(QRectF(17 - r, 12 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
}

void drawGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::New: drawPage(p); break;
    case Glyph::Open: drawFolder(p); break;
    case Glyph::Save: drawDisk(p); break;
    case Glyph::Read:
        drawRadio(p, QRectF(3, 11, 11, 18));
        drawArrow(p, QPointF(16, 19), QPointF(30, 19), kGreen);
        break;
    case Glyph::Write:
        drawRadio(p, QRectF(18, 11, 11, 18));
        drawArrow(p, QPointF(3, 19), QPointF(17, 19), kRed);
        break;
    case Glyph::ForcedWrite: drawPadlock(p); break;
    case Glyph::Calibration: drawSliders(p); break;
    case Glyph::Fm: drawWaves(p); break;
    }
}

class GlyphIconEngine : public QIconEngine {
public:
    explicit GlyphIconEngine(Glyph glyph) : m_glyph(glyph) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 32.0, rect.height() / 32.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        drawGlyph(*painter, m_glyph);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels already; scale only tags the result.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QIconEngine *clone() const override { return new GlyphIconEngine(m_glyph); }
    QString key() const override { return QStringLiteral("QuillonGlyph"); }

private:
    Glyph m_glyph;
};

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    return QIcon(new GlyphIconEngine(glyph));
}

QIcon applicationIcon()
{
    // The pixels of each size as the build took them from its PNG: the
    // width, the height, then premultiplied ARGB rows. The image refers to
    // the program's own resource data, which lives as long as the program.
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QResource bits(QStringLiteral(":/icons/quillon-%1.argb").arg(side));
        constexpr qint64 kHeader = 2 * sizeof(quint32);
        if (!bits.isValid() || bits.compressionAlgorithm() != QResource::NoCompression
            || bits.size() != kHeader + qint64(side) * side * 4)
            continue;
        quint32 size[2];
        std::memcpy(size, bits.data(), sizeof size);
        if (size[0] != quint32(side) || size[1] != quint32(side))
            continue;
        const uchar *pixels = bits.data() + kHeader;
        QImage image(pixels, side, side, side * 4, QImage::Format_ARGB32_Premultiplied);
        // An image's rows must start on 32-bit boundaries.
        if (reinterpret_cast<quintptr>(pixels) % alignof(quint32) != 0) {
            image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            std::memcpy(image.bits(), pixels, std::size_t(image.sizeInBytes()));
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace quillon
