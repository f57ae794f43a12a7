// Draws the module's picture assets: the front view of the KSV-720E unit shown in the main
// window and the small icon of the About box. Everything is painted from shapes here; no
// photograph or artwork is read.
//
// Build and run from assets/tools (not part of the CMake build):
// clang-format off
//   g++ -std=c++20 -O2 -fPIC draw_assets.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw_assets
//   QT_QPA_PLATFORM=offscreen /tmp/draw_assets .. [--preview <dir>]
// clang-format on
//
// The argument is the assets folder; writes ksv720e-front.jpg (235 x 381) and ksv720e-icon.png
// (41 x 44) into it.
// With --preview it also writes enlarged PNG copies for inspection into <dir>.
// The drawing is deterministic (fixed noise seed), so a rerun reproduces the checked-in files.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// Pictures are painted at this multiple of their final size and then reduced with an area
// filter, which gives clean edges on details that are only a pixel or two wide.
constexpr int kSuper = 4;
constexpr int kIconSuper = 8;

// Glyph outlines are made at this multiple of the wanted size (pixel sizes are whole numbers)
// and scaled down, so text can have fractional sizes independent of any device resolution.
constexpr qreal kGlyphScale = 16;

QColor rgba(int r, int g, int b, int a = 255) {
    return QColor(r, g, b, a);
}

QPainterPath roundRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// Light comes from the top left: a raised edge is bright there and dark at the bottom right,
// a recess the other way round. The pen gradient runs along the diagonal of the shape.
void bevel(QPainter& p, const QPainterPath& path, bool raised, qreal width, int lightAlpha,
           int darkAlpha) {
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomRight());
    const QColor light = rgba(255, 255, 255, lightAlpha);
    const QColor dark = rgba(0, 0, 0, darkAlpha);
    g.setColorAt(0.0, raised ? light : dark);
    g.setColorAt(0.45, raised ? rgba(255, 255, 255, lightAlpha / 4) : rgba(0, 0, 0, darkAlpha / 3));
    g.setColorAt(0.55, raised ? rgba(0, 0, 0, darkAlpha / 4) : rgba(255, 255, 255, lightAlpha / 4));
    g.setColorAt(1.0, raised ? dark : light);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(g), width));
    p.drawPath(path);
    p.restore();
}

// Separable box blur (three passes approximate a Gaussian) on a premultiplied image.
void blur(QImage& img, int radius) {
    if (radius < 1) return;
    const int w = img.width();
    const int h = img.height();
    std::vector<int> acc(4);
    std::vector<QRgb> line(static_cast<size_t>(std::max(w, h)));
    auto pass = [&](bool horizontal) {
        const int n = horizontal ? w : h;
        const int count = horizontal ? h : w;
        for (int k = 0; k < count; ++k) {
            auto at = [&](int i) -> QRgb& {
                i = std::clamp(i, 0, n - 1);
                return horizontal ? reinterpret_cast<QRgb*>(img.scanLine(k))[i]
                                  : reinterpret_cast<QRgb*>(img.scanLine(i))[k];
            };
            int sa = 0, sr = 0, sg = 0, sb = 0;
            for (int i = -radius; i <= radius; ++i) {
                const QRgb c = at(i);
                sa += qAlpha(c), sr += qRed(c), sg += qGreen(c), sb += qBlue(c);
            }
            const int div = 2 * radius + 1;
            for (int i = 0; i < n; ++i) {
                line[static_cast<size_t>(i)] = qRgba(sr / div, sg / div, sb / div, sa / div);
                const QRgb out = at(i - radius);
                const QRgb in = at(i + radius + 1);
                sa += qAlpha(in) - qAlpha(out), sr += qRed(in) - qRed(out);
                sg += qGreen(in) - qGreen(out), sb += qBlue(in) - qBlue(out);
            }
            for (int i = 0; i < n; ++i) at(i) = line[static_cast<size_t>(i)];
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
}

// Fine horizontal streaks of a brushed metal finish, painted inside the current clip.
void brushedStreaks(QPainter& p, const QRectF& area, std::mt19937& rng, qreal strength) {
    std::uniform_real_distribution<qreal> unit(0.0, 1.0);
    p.save();
    const qreal step = 1.0 / kSuper;
    for (qreal y = area.top(); y < area.bottom(); y += step) {
        // A faint tone for the whole row, then a few longer streaks of light and shade.
        const int rowAlpha = static_cast<int>(unit(rng) * 10 * strength);
        p.setPen(
            QPen(unit(rng) < 0.5 ? rgba(255, 255, 255, rowAlpha) : rgba(0, 0, 0, rowAlpha), step));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        for (int s = 0; s < 3; ++s) {
            const qreal x = area.left() + unit(rng) * area.width();
            const qreal len = 8 + unit(rng) * 70;
            const int a = static_cast<int>((6 + unit(rng) * 14) * strength);
            p.setPen(QPen(unit(rng) < 0.55 ? rgba(255, 255, 255, a) : rgba(0, 0, 0, a), step));
            p.drawLine(QPointF(x, y), QPointF(x + len, y));
        }
    }
    p.restore();
}

// A soft halo around a lit lamp.
void glow(QPainter& p, QPointF c, qreal radius, QColor color, int alpha) {
    QRadialGradient g(c, radius);
    QColor inner = color;
    inner.setAlpha(alpha);
    QColor mid = color;
    mid.setAlpha(alpha / 3);
    QColor outer = color;
    outer.setAlpha(0);
    g.setColorAt(0.0, inner);
    g.setColorAt(0.35, mid);
    g.setColorAt(1.0, outer);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, radius, radius);
    p.restore();
}

// A round indicator lamp behind a clear lens, lit or dark.
void lamp(QPainter& p, QPointF c, qreal r, QColor color, bool lit) {
    p.save();
    p.setPen(Qt::NoPen);
    // Seat of the lens in the panel.
    p.setBrush(rgba(0, 0, 0, 170));
    p.drawEllipse(c, r + 0.7, r + 0.7);
    p.setBrush(rgba(255, 255, 255, 30));
    p.drawEllipse(c + QPointF(0.25, 0.35), r + 0.5, r + 0.5);
    QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    if (lit) {
        g.setColorAt(0.0, color.lighter(185));
        g.setColorAt(0.45, color);
        g.setColorAt(1.0, color.darker(170));
    } else {
        const QColor off = QColor::fromHsv(color.hue(), 70, 70);
        g.setColorAt(0.0, off.lighter(150));
        g.setColorAt(1.0, off.darker(200));
    }
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // Specular spot of the lens.
    p.setBrush(rgba(255, 255, 255, lit ? 200 : 110));
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.4), r * 0.32, r * 0.26);
    p.restore();
    if (lit) glow(p, c, r * 4.6, color, 150);
}

// Text filled with a vertical gradient and a one-pixel cast shadow, for the printed marks.
void printText(QPainter& p, QPointF baseline, const QString& text, const QFont& font, QColor top,
               QColor bottom, int shadowAlpha = 160) {
    QPainterPath glyphs;
    glyphs.addText(QPointF(0, 0), font, text);
    const QPainterPath path =
        QTransform::fromScale(1 / kGlyphScale, 1 / kGlyphScale).map(glyphs).translated(baseline);
    const QRectF b = path.boundingRect();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(0, 0, 0, shadowAlpha));
    p.drawPath(path.translated(0.35, 0.6));
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.setBrush(g);
    p.drawPath(path);
    p.restore();
}

QFont font(qreal pixelSize, int weight, qreal spacing = 0) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(static_cast<int>(std::lround(pixelSize * kGlyphScale)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing * kGlyphScale);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// A perforation hole: a dark slot with the lower lip catching the light.
void hole(QPainter& p, const QPainterPath& shape) {
    p.setBrush(rgba(255, 255, 255, 46));
    p.drawPath(shape.translated(0.25, 0.55));
    p.setBrush(rgba(6, 6, 7));
    p.drawPath(shape);
}

// One hot-swap drive tray: lamp strip, ventilated face, release lever with latch.
void driveTray(QPainter& p, const QRectF& r, int bay, bool active, std::mt19937& rng) {
    const QPainterPath face = roundRect(r, 3);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, rgba(86, 90, 97));
    fill.setColorAt(0.5, rgba(66, 69, 75));
    fill.setColorAt(1.0, rgba(50, 52, 57));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(face);
    p.save();
    p.setClipPath(face);
    brushedStreaks(p, r, rng, 0.8);
    p.restore();
    bevel(p, roundRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2.6), true, 1.0, 150, 170);

    const qreal top = r.top();

    // Light pipe strip with the activity and status lamps and the bay number.
    const QRectF strip(r.left() + 4.5, top + 8, 9, 30);
    const QPainterPath stripPath = roundRect(strip, 4.5);
    p.setBrush(rgba(20, 21, 24));
    p.drawPath(stripPath);
    bevel(p, stripPath, false, 0.9, 70, 150);
    lamp(p, QPointF(strip.center().x(), top + 15.5), 2.2, rgba(70, 235, 90), active);
    lamp(p, QPointF(strip.center().x(), top + 30.5), 2.2, rgba(60, 150, 255), true);
    printText(p, QPointF(r.left() + 6.3, top + 49.5), QString::number(bay), font(7, QFont::Bold),
              rgba(200, 205, 212), rgba(140, 146, 154));

    // Ventilation: staggered rows of rounded slots.
    p.save();
    p.setPen(Qt::NoPen);
    const qreal ventLeft = r.left() + 20;
    const qreal ventRight = r.left() + 122;
    for (int row = 0; row < 5; ++row) {
        const qreal y = top + 10.5 + row * 7.5;
        const qreal shift = (row % 2) ? 6.25 : 0.0;
        for (qreal x = ventLeft + shift; x + 9.5 <= ventRight + 0.01; x += 12.5) {
            hole(p, roundRect(QRectF(x, y, 9.5, 2.8), 1.4));
        }
    }
    p.restore();

    // Release lever with a finger grip.
    const QRectF lever(r.left() + 127, top + 6, 37, r.height() - 12);
    const QPainterPath leverPath = roundRect(lever, 4);
    p.setBrush(rgba(0, 0, 0, 90));
    p.drawPath(leverPath.translated(0.6, 0.9));
    QLinearGradient lf(lever.topLeft(), lever.bottomRight());
    lf.setColorAt(0.0, rgba(112, 117, 125));
    lf.setColorAt(0.5, rgba(80, 84, 91));
    lf.setColorAt(1.0, rgba(58, 61, 66));
    p.setBrush(lf);
    p.drawPath(leverPath);
    p.save();
    p.setClipPath(leverPath);
    brushedStreaks(p, lever, rng, 0.9);
    p.restore();
    bevel(p, roundRect(lever.adjusted(0.5, 0.5, -0.5, -0.5), 3.6), true, 1.0, 170, 170);
    // Grip ridges.
    for (int i = 0; i < 4; ++i) {
        const qreal y = lever.top() + 7 + i * 3.2;
        p.setPen(QPen(rgba(20, 21, 23, 200), 1.0));
        p.drawLine(QPointF(lever.left() + 6, y), QPointF(lever.right() - 6, y));
        p.setPen(QPen(rgba(255, 255, 255, 55), 0.7));
        p.drawLine(QPointF(lever.left() + 6, y + 0.9), QPointF(lever.right() - 6, y + 0.9));
    }
    p.setPen(Qt::NoPen);
    // Finger pull recess at the lower end.
    const QRectF pull(lever.left() + 5, lever.bottom() - 12, lever.width() - 10, 7);
    const QPainterPath pullPath = roundRect(pull, 3.5);
    QLinearGradient pf(pull.topLeft(), pull.bottomLeft());
    pf.setColorAt(0.0, rgba(14, 15, 17));
    pf.setColorAt(1.0, rgba(46, 48, 53));
    p.setBrush(pf);
    p.drawPath(pullPath);
    bevel(p, pullPath, false, 0.9, 90, 160);

    // Latch button that frees the lever.
    const QRectF latch(r.left() + 168, top + 15, 9, r.height() - 30);
    const QPainterPath latchSeat = roundRect(latch.adjusted(-1.2, -1.2, 1.2, 1.2), 3);
    p.setBrush(rgba(14, 15, 17));
    p.drawPath(latchSeat);
    bevel(p, latchSeat, false, 0.8, 80, 120);
    const QPainterPath latchPath = roundRect(latch, 2.2);
    QLinearGradient lg(latch.topLeft(), latch.topRight());
    lg.setColorAt(0.0, rgba(104, 109, 117));
    lg.setColorAt(1.0, rgba(62, 65, 70));
    p.setBrush(lg);
    p.drawPath(latchPath);
    bevel(p, roundRect(latch.adjusted(0.4, 0.4, -0.4, -0.4), 1.9), true, 0.8, 160, 150);
    p.setPen(QPen(rgba(16, 17, 19, 220), 1.0));
    p.drawLine(QPointF(latch.center().x(), latch.top() + 4),
               QPointF(latch.center().x(), latch.bottom() - 4));
    p.setPen(QPen(rgba(255, 255, 255, 50), 0.6));
    p.drawLine(QPointF(latch.center().x() + 0.8, latch.top() + 4),
               QPointF(latch.center().x() + 0.8, latch.bottom() - 4));
    p.setPen(Qt::NoPen);
}

// A round push button with a machined metal cap.
void metalButton(QPainter& p, QPointF c, qreal r) {
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(0, 0, 0, 150));
    p.drawEllipse(c + QPointF(0.5, 0.8), r, r);
    QRadialGradient cap(c + QPointF(-r * 0.35, -r * 0.45), r * 1.6);
    cap.setColorAt(0.0, rgba(150, 156, 165));
    cap.setColorAt(0.5, rgba(92, 97, 105));
    cap.setColorAt(1.0, rgba(38, 40, 44));
    p.setBrush(cap);
    p.drawEllipse(c, r, r);
    // Concentric turning marks.
    for (qreal k = 0.3; k < 0.95; k += 0.16) {
        p.setPen(QPen(rgba(255, 255, 255, 14), 0.5));
        p.drawEllipse(c, r * k, r * k);
    }
    p.setPen(Qt::NoPen);
    QPainterPath rim;
    rim.addEllipse(c, r - 0.4, r - 0.4);
    bevel(p, rim, true, 0.8, 170, 150);
}

void powerSymbol(QPainter& p, QPointF c, qreal r, QColor color, qreal width) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    const QRectF arc(c.x() - r, c.y() - r, 2 * r, 2 * r);
    // Open ring with the gap at the top, then the stroke through the gap.
    p.drawArc(arc, 125 * 16, 290 * 16);
    p.drawLine(QPointF(c.x(), c.y() - r * 1.25), QPointF(c.x(), c.y() - r * 0.15));
    p.restore();
}

QImage drawFront() {
    constexpr int W = 235;
    constexpr int H = 381;
    std::mt19937 rng(720);

    QImage img(W * kSuper, H * kSuper, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(kSuper, kSuper);

    // Studio backdrop: pale grey, a little darker towards the floor.
    QLinearGradient bg(0, 0, 0, H);
    bg.setColorAt(0.0, rgba(243, 244, 246));
    bg.setColorAt(0.8, rgba(226, 228, 231));
    bg.setColorAt(1.0, rgba(214, 216, 220));
    p.fillRect(QRectF(0, 0, W, H), bg);
    QRadialGradient key(QPointF(30, 20), 260);
    key.setColorAt(0.0, rgba(255, 255, 255, 120));
    key.setColorAt(1.0, rgba(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, W, H), key);

    const QRectF body(15.5, 6.5, 204, 357);
    const QPainterPath bodyPath = roundRect(body, 9);

    // Cast shadow to the lower right and a contact shadow on the floor.
    {
        QImage shadow(img.size(), QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.scale(kSuper, kSuper);
        sp.setPen(Qt::NoPen);
        sp.setBrush(rgba(20, 22, 26, 110));
        sp.drawPath(bodyPath.translated(4.5, 5));
        sp.setBrush(rgba(0, 0, 0, 150));
        sp.drawEllipse(QRectF(body.left() + 6, body.bottom() + 2, body.width() - 4, 9));
        sp.end();
        blur(shadow, 6 * kSuper / 2);
        p.save();
        p.resetTransform();
        p.drawImage(0, 0, shadow);
        p.restore();
    }

    // Rubber feet below the case.
    for (qreal x : {body.left() + 14, body.right() - 48}) {
        const QRectF foot(x, body.bottom() - 4, 34, 10.5);
        QLinearGradient fg(foot.topLeft(), foot.bottomLeft());
        fg.setColorAt(0.0, rgba(40, 41, 44));
        fg.setColorAt(1.0, rgba(12, 12, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(fg);
        p.drawPath(roundRect(foot, 3));
    }

    // Case: charcoal anodised aluminium with a brushed finish.
    QLinearGradient bodyFill(body.topLeft(), body.bottomLeft());
    bodyFill.setColorAt(0.0, rgba(78, 82, 89));
    bodyFill.setColorAt(0.25, rgba(60, 63, 69));
    bodyFill.setColorAt(1.0, rgba(38, 40, 44));
    p.setPen(Qt::NoPen);
    p.setBrush(bodyFill);
    p.drawPath(bodyPath);
    p.save();
    p.setClipPath(bodyPath);
    brushedStreaks(p, body, rng, 1.0);
    QLinearGradient side(body.topLeft(), body.topRight());
    side.setColorAt(0.0, rgba(255, 255, 255, 26));
    side.setColorAt(0.4, rgba(255, 255, 255, 0));
    side.setColorAt(1.0, rgba(0, 0, 0, 40));
    p.setBrush(side);
    p.drawRect(body);
    p.restore();
    p.setPen(QPen(rgba(16, 17, 20), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bodyPath);
    bevel(p, roundRect(body.adjusted(1, 1, -1, -1), 8), true, 1.4, 170, 190);

    // Gloss-black fascia at the top.
    const QRectF fascia(23.5, 13.5, 189, 76);
    const QPainterPath fasciaPath = roundRect(fascia, 5);
    QLinearGradient ff(fascia.topLeft(), fascia.bottomLeft());
    ff.setColorAt(0.0, rgba(36, 38, 42));
    ff.setColorAt(1.0, rgba(12, 13, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(ff);
    p.drawPath(fasciaPath);
    p.save();
    p.setClipPath(fasciaPath);
    QPainterPath sheen;
    sheen.moveTo(fascia.topLeft());
    sheen.lineTo(fascia.topRight());
    sheen.lineTo(fascia.right(), fascia.top() + 18);
    sheen.cubicTo(fascia.center().x() + 40, fascia.top() + 26, fascia.center().x() - 30,
                  fascia.top() + 30, fascia.left(), fascia.top() + 44);
    sheen.closeSubpath();
    QLinearGradient sg(fascia.topLeft(), QPointF(fascia.left() + 30, fascia.top() + 44));
    sg.setColorAt(0.0, rgba(255, 255, 255, 34));
    sg.setColorAt(1.0, rgba(255, 255, 255, 6));
    p.setBrush(sg);
    p.drawPath(sheen);
    p.restore();
    bevel(p, roundRect(fascia.adjusted(-0.5, -0.5, 0.5, 0.5), 5.5), false, 1.2, 110, 200);

    // Maker and model marks.
    printText(p, QPointF(33, 27), QStringLiteral("HALVORA"), font(6.5, QFont::Bold, 1.6),
              rgba(170, 176, 184), rgba(120, 126, 134));
    printText(p, QPointF(32, 42), QStringLiteral("KSV-720E"), font(13, QFont::Bold, 0.4),
              rgba(246, 247, 249), rgba(168, 173, 180), 200);
    printText(p, QPointF(33, 51), QStringLiteral("NETWORK STORAGE"), font(5.5, QFont::Normal, 0.9),
              rgba(130, 136, 144), rgba(105, 110, 118));

    // Power button with its blue ring lamp.
    const QPointF power(187, 34);
    glow(p, power, 21, rgba(40, 140, 255), 110);
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(0, 0, 0, 220));
    p.drawEllipse(power, 13.3, 13.3);
    {
        QPainterPath ring;
        ring.addEllipse(power, 12.6, 12.6);
        QPainterPath inner;
        inner.addEllipse(power, 10.4, 10.4);
        ring = ring.subtracted(inner);
        QRadialGradient rg(power, 12.6);
        rg.setColorAt(0.78, rgba(160, 215, 255));
        rg.setColorAt(0.9, rgba(50, 150, 255));
        rg.setColorAt(1.0, rgba(20, 90, 210));
        p.setBrush(rg);
        p.drawPath(ring);
    }
    metalButton(p, power, 9.9);
    powerSymbol(p, power, 4.3, rgba(200, 225, 250, 230), 1.3);

    // Status lamps.
    const struct {
        const char* label;
        QColor color;
        bool lit;
    } status[] = {
        {"SYSTEM", rgba(70, 235, 90), true},
        {"LAN", rgba(60, 150, 255), true},
        {"USB", rgba(255, 170, 40), false},
    };
    for (int i = 0; i < 3; ++i) {
        const QPointF c(35, 61 + i * 10);
        lamp(p, c, 2.1, status[i].color, status[i].lit);
        printText(p, QPointF(41.5, c.y() + 2.1), QString::fromLatin1(status[i].label),
                  font(5.5, QFont::Bold, 0.5), rgba(150, 156, 164), rgba(120, 126, 134));
    }

    // Front USB port.
    {
        const QRectF port(139, 63, 21, 8.5);
        p.setPen(Qt::NoPen);
        p.setBrush(rgba(255, 255, 255, 40));
        p.drawPath(roundRect(port.adjusted(-1.4, -1.4, 1.8, 1.9), 1.8));
        p.setBrush(rgba(0, 0, 0));
        p.drawPath(roundRect(port.adjusted(-1.2, -1.2, 1.2, 1.2), 1.6));
        QLinearGradient shell(port.topLeft(), port.bottomLeft());
        shell.setColorAt(0.0, rgba(214, 217, 221));
        shell.setColorAt(1.0, rgba(126, 130, 136));
        p.setBrush(shell);
        p.drawPath(roundRect(port, 1));
        p.setBrush(rgba(8, 8, 9));
        p.drawRect(port.adjusted(1.2, 1.2, -1.2, -1.2));
        QLinearGradient tongue(port.topLeft(), port.bottomLeft());
        tongue.setColorAt(0.0, rgba(60, 110, 200));
        tongue.setColorAt(1.0, rgba(30, 70, 150));
        p.setBrush(tongue);
        p.drawRect(QRectF(port.left() + 2.6, port.top() + 1.8, port.width() - 5.2, 2.6));
        p.setBrush(rgba(200, 200, 200, 160));
        for (int k = 0; k < 2; ++k) {
            p.drawRect(QRectF(port.left() + 5 + k * 8.5, port.top() + 5.3, 2.6, 1.4));
        }
        printText(p, QPointF(port.left() + 4.2, port.bottom() + 9), QStringLiteral("USB"),
                  font(5.5, QFont::Bold, 0.5), rgba(150, 156, 164), rgba(120, 126, 134));
    }

    // One-touch copy button below the power button.
    {
        const QPointF copy(187, 67);
        p.setPen(Qt::NoPen);
        p.setBrush(rgba(0, 0, 0, 200));
        p.drawEllipse(copy, 8.1, 8.1);
        metalButton(p, copy, 7);
        // Arrow into a tray: the copy-to-disk mark.
        p.setPen(QPen(rgba(210, 216, 224, 220), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawLine(copy + QPointF(0, -3.4), copy + QPointF(0, 1.2));
        p.drawPolyline(
            QPolygonF{copy + QPointF(-2, -0.6), copy + QPointF(0, 1.4), copy + QPointF(2, -0.6)});
        p.drawPolyline(QPolygonF{copy + QPointF(-3.2, 1.6), copy + QPointF(-3.2, 3.2),
                                 copy + QPointF(3.2, 3.2), copy + QPointF(3.2, 1.6)});
        printText(p, QPointF(copy.x() - 8.2, copy.y() + 17), QStringLiteral("COPY"),
                  font(5.5, QFont::Bold, 0.5), rgba(150, 156, 164), rgba(120, 126, 134));
    }

    // Drive cage with four hot-swap trays.
    const QRectF cage(23.5, 94.5, 189, 238);
    const QPainterPath cagePath = roundRect(cage, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(10, 11, 12));
    p.drawPath(cagePath);
    bevel(p, roundRect(cage.adjusted(-0.5, -0.5, 0.5, 0.5), 4.5), false, 1.2, 110, 200);
    const qreal trayH = 56;
    const qreal gap = (cage.height() - 4 - 4 * trayH) / 3;
    const bool active[] = {true, true, false, true};
    for (int i = 0; i < 4; ++i) {
        const QRectF tray(cage.left() + 2, cage.top() + 2 + i * (trayH + gap), cage.width() - 4,
                          trayH);
        // The cage behind each tray is shaded from above.
        p.setBrush(rgba(0, 0, 0, 120));
        p.drawPath(roundRect(tray.translated(0.4, 0.9), 3));
        driveTray(p, tray, i + 1, active[i], rng);
    }

    // Ventilation grille above the feet.
    {
        const QRectF grille(30, 338, 175, 18);
        p.setPen(Qt::NoPen);
        const qreal pitch = 3.7;
        for (int row = 0; row < 5; ++row) {
            const qreal y = grille.top() + 1.5 + row * 3.3;
            const qreal shift = (row % 2) ? pitch / 2 : 0.0;
            for (qreal x = grille.left() + 1.5 + shift; x <= grille.right() - 1.5; x += pitch) {
                QPainterPath dot;
                dot.addEllipse(QPointF(x, y), 1.15, 1.15);
                hole(p, dot);
            }
        }
    }

    p.end();
    return img.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

QImage drawIcon() {
    constexpr int W = 41;
    constexpr int H = 44;
    std::mt19937 rng(41);
    QImage img(W * kIconSuper, H * kIconSuper, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kIconSuper, kIconSuper);

    const QRectF body(5, 1.5, 30, 39.5);
    const QPainterPath bodyPath = roundRect(body, 2.8);

    {
        QImage shadow(img.size(), QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.scale(kIconSuper, kIconSuper);
        sp.setPen(Qt::NoPen);
        sp.setBrush(rgba(0, 0, 0, 110));
        sp.drawPath(bodyPath.translated(1.3, 1.5));
        sp.end();
        blur(shadow, kIconSuper);
        p.save();
        p.resetTransform();
        p.drawImage(0, 0, shadow);
        p.restore();
    }

    p.setPen(Qt::NoPen);
    p.setBrush(rgba(14, 14, 15));
    for (qreal x : {body.left() + 3, body.right() - 10}) {
        p.drawPath(roundRect(QRectF(x, body.bottom() - 1, 7, 2.6), 1));
    }

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0.0, rgba(84, 88, 95));
    fill.setColorAt(0.3, rgba(62, 65, 71));
    fill.setColorAt(1.0, rgba(38, 40, 44));
    p.setBrush(fill);
    p.drawPath(bodyPath);
    p.setPen(QPen(rgba(16, 17, 20), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bodyPath);
    bevel(p, roundRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 2.4), true, 0.6, 190, 160);
    p.setPen(Qt::NoPen);

    // Fascia with the model mark and the power ring.
    const QRectF fascia(7, 3.6, 26, 8.2);
    p.setBrush(rgba(16, 17, 19));
    p.drawPath(roundRect(fascia, 1.2));
    bevel(p, roundRect(fascia, 1.2), false, 0.5, 90, 160);
    p.setBrush(rgba(200, 204, 210));
    p.drawRect(QRectF(9, 6, 9, 1.2));
    p.setBrush(rgba(130, 136, 144));
    p.drawRect(QRectF(9, 8.6, 6, 0.7));
    const QPointF power(28.8, 7.7);
    glow(p, power, 5.5, rgba(40, 140, 255), 150);
    p.setBrush(rgba(70, 165, 255));
    p.drawEllipse(power, 2.7, 2.7);
    p.setBrush(rgba(100, 106, 114));
    p.drawEllipse(power, 1.9, 1.9);

    // Four trays, each with its lamp and lever.
    for (int i = 0; i < 4; ++i) {
        const QRectF tray(7, 13.2 + i * 6.3, 26, 5.5);
        QLinearGradient tf(tray.topLeft(), tray.bottomLeft());
        tf.setColorAt(0.0, rgba(96, 100, 108));
        tf.setColorAt(1.0, rgba(56, 59, 64));
        p.setBrush(rgba(6, 6, 7));
        p.drawPath(roundRect(tray.adjusted(-0.4, -0.4, 0.4, 0.4), 1));
        p.setBrush(tf);
        p.drawPath(roundRect(tray, 0.8));
        p.save();
        p.setClipRect(tray);
        brushedStreaks(p, tray, rng, 0.5);
        p.restore();
        p.setBrush(rgba(14, 14, 16));
        for (int k = 0; k < 2; ++k) {
            p.drawPath(roundRect(QRectF(12, tray.top() + 1.3 + k * 1.8, 11.5, 1.0), 0.5));
        }
        p.setBrush(rgba(150, 156, 164));
        p.drawPath(roundRect(QRectF(25.5, tray.top() + 1.1, 6, 3.3), 0.8));
        p.setBrush(rgba(255, 255, 255, 90));
        p.drawRect(QRectF(25.8, tray.top() + 1.2, 5.4, 0.6));
        lamp(p, QPointF(9.3, tray.center().y()), 0.95, rgba(70, 235, 90), i != 2);
    }

    // Grille.
    p.setBrush(rgba(8, 8, 9));
    p.drawPath(roundRect(QRectF(8, 38.4, 24, 1.2), 0.6));

    p.end();
    return img.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool save(const QImage& img, const QString& path, const char* format, int quality = -1) {
    if (!img.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%d x %d)\n", qPrintable(path), img.width(), img.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--preview"))) {
        std::fprintf(stderr, "usage: draw_assets <assets dir> [--preview <dir>]\n");
        return 2;
    }
    const QDir out(args[1]);
    const QImage front = drawFront();
    const QImage icon = drawIcon();
    bool ok = save(front, out.filePath(QStringLiteral("ksv720e-front.jpg")), "JPG", 92);
    ok = save(icon, out.filePath(QStringLiteral("ksv720e-icon.png")), "PNG") && ok;
    if (ok && args.size() == 4) {
        // Read the JPEG back so the preview shows its compression as well.
        const QDir pre(args[3]);
        const QImage written(out.filePath(QStringLiteral("ksv720e-front.jpg")));
        ok = save(written.scaled(written.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                  pre.filePath(QStringLiteral("front-2x.png")), "PNG") &&
             save(written, pre.filePath(QStringLiteral("front-1x.png")), "PNG") &&
             save(icon.scaled(icon.size() * 6, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                  pre.filePath(QStringLiteral("icon-6x.png")), "PNG");
        // The icon as the About box shows it, on the window colour.
        QImage onFace(icon.size(), QImage::Format_RGB32);
        onFace.fill(QColor(240, 240, 240));
        QPainter(&onFace).drawImage(0, 0, icon);
        ok = ok &&
             save(onFace.scaled(onFace.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                  pre.filePath(QStringLiteral("icon-3x-face.png")), "PNG");
    }
    return ok ? 0 : 1;
}
