// Draws the editor's tool bar icons, the program icon and the splash picture into PNG files.
// Run once when an icon changes: make_icons <folder>. The PNG files are kept in the sources.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

namespace {
const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kBlue(0x3f, 0x7f, 0xd0);
const QColor kGreen(0x4c, 0xaf, 0x50);
const QColor kAmber(0xf0, 0xb4, 0x29);
const QColor kRed(0xd9, 0x53, 0x4f);
const QColor kPaper(0xfa, 0xfa, 0xf5);
const QColor kGrey(0x9a, 0xa5, 0xb1);
const QColor kBrown(0xb0, 0x7a, 0x45);

QPen ink(double w = 1.6) { return QPen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void save(const QString& folder, const QString& name, int size, const std::function<void(QPainter&)>& draw)
{
    // Drawn at 4x on a 24-unit canvas, then scaled down for clean edges.
    QImage big(size * 4, size * 4, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size * 4 / 24.0, size * 4 / 24.0);
        draw(p);
    }
    big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(folder + "/" + name + ".png");
}

void page(QPainter& p)
{
    QPainterPath path;
    path.moveTo(5, 2.5); path.lineTo(14, 2.5); path.lineTo(19, 7.5); path.lineTo(19, 21.5); path.lineTo(5, 21.5);
    path.closeSubpath();
    p.setPen(ink()); p.setBrush(kPaper); p.drawPath(path);
    p.drawPolyline(QPolygonF({QPointF(14, 2.5), QPointF(14, 7.5), QPointF(19, 7.5)}));
}

void folder(QPainter& p, const QColor& c)
{
    p.setPen(ink());
    p.setBrush(c.darker(115));
    p.drawRoundedRect(QRectF(2.5, 5, 19, 15), 1.5, 1.5);
    p.drawRect(QRectF(2.5, 4, 7, 3));
    p.setBrush(c);
    QPolygonF front({QPointF(2.5, 20), QPointF(5.5, 10), QPointF(22, 10), QPointF(19, 20)});
    p.drawPolygon(front);
}

void badge(QPainter& p, const QColor& c, bool plus)
{
    p.setPen(QPen(Qt::white, 1.2)); p.setBrush(c);
    p.drawEllipse(QPointF(17.5, 17.5), 5.2, 5.2);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (plus) {
        p.drawLine(QPointF(17.5, 14.8), QPointF(17.5, 20.2));
        p.drawLine(QPointF(14.8, 17.5), QPointF(20.2, 17.5));
    } else {
        p.drawLine(QPointF(15.6, 15.6), QPointF(19.4, 19.4));
        p.drawLine(QPointF(19.4, 15.6), QPointF(15.6, 19.4));
    }
}

void layers(QPainter& p, int highlighted)
{
    for (int i = 1; i >= 0; --i) {
        const double y = i == 0 ? 4 : 11;
        QPolygonF d({QPointF(12, y), QPointF(22, y + 4.5), QPointF(12, y + 9), QPointF(2, y + 4.5)});
        p.setPen(ink());
        const bool on = (i == 1 && highlighted == 0) || (i == 0 && highlighted == 1);
        p.setBrush(on ? (highlighted == 0 ? kGreen : kBlue) : QColor(0xdd, 0xe3, 0xea));
        p.drawPolygon(d);
    }
}

void grid(QPainter& p, int n)
{
    p.setPen(ink());
    p.setBrush(QColor(0x8c, 0xc6, 0x6b));
    p.drawRect(QRectF(3, 3, 18, 18));
    p.setPen(QPen(kInk, n >= 8 ? 0.6 : 1.0));
    for (int i = 1; i < n; ++i) {
        const double t = 3 + 18.0 * i / n;
        p.drawLine(QPointF(t, 3), QPointF(t, 21));
        p.drawLine(QPointF(3, t), QPointF(21, t));
    }
    p.setPen(ink());
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 18, 18));
}

void monitor(QPainter& p)
{
    p.setPen(ink()); p.setBrush(kInk.lighter(160));
    p.drawRoundedRect(QRectF(2.5, 3.5, 19, 13.5), 1.5, 1.5);
    p.setBrush(QColor(0x9f, 0xd3, 0xf5)); p.setPen(Qt::NoPen);
    p.drawRect(QRectF(4.5, 5.5, 15, 9.5));
    p.setPen(ink()); p.drawLine(QPointF(12, 17), QPointF(12, 20)); p.drawLine(QPointF(8, 20.5), QPointF(16, 20.5));
}

void magnifier(QPainter& p)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    p.setPen(ink(1.8)); p.setBrush(QColor(0xcf, 0xe8, 0xfa));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
}

void arrowBack(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap)); p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(6, 10);
    path.cubicTo(9, 4, 19, 4, 20, 12);
    path.cubicTo(20.5, 17, 16, 20.5, 11, 20);
    p.drawPath(path);
    p.setPen(Qt::NoPen); p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(2.5, 5), QPointF(10, 6.5), QPointF(4.5, 13)}));
}

void drawSplash(QPainter& p, int w, int h)
{
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x1d, 0x2b, 0x53)); sky.setColorAt(0.55, QColor(0x7e, 0x57, 0x9e));
    sky.setColorAt(1, QColor(0xf3, 0xa6, 0x6b));
    p.fillRect(0, 0, w, h, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    const int stars[][2] = {{40, 30}, {90, 60}, {150, 22}, {220, 48}, {300, 18}, {360, 52}, {430, 28}, {480, 70}, {260, 80}};
    for (auto& s : stars) p.drawEllipse(QPointF(s[0], s[1]), 1.3, 1.3);
    p.setBrush(QColor(0x3b, 0x2f, 0x5c));
    p.drawPolygon(QPolygonF({QPointF(0, 190), QPointF(90, 110), QPointF(160, 170), QPointF(250, 95), QPointF(340, 175),
                             QPointF(420, 120), QPointF(512, 180), QPointF(512, 256), QPointF(0, 256)}));
    // A strip of tiles for the ground, in the editor's own grid.
    for (int x = 0; x < w; x += 16) {
        for (int y = 200; y < h; y += 16) {
            const bool top = y == 200;
            QColor c = top ? QColor(0x5d, 0xa1, 0x3f) : QColor(0x8a, 0x5a, 0x36);
            if (((x / 16) + (y / 16)) % 2) c = c.darker(110);
            p.fillRect(x, y, 16, 16, c);
        }
    }
    p.setPen(QColor(0, 0, 0, 60));
    for (int x = 0; x <= w; x += 16) p.drawLine(x, 200, x, h);
    for (int y = 200; y <= h; y += 16) p.drawLine(0, y, w, y);
    // Title.
    QFont f(QStringLiteral("DejaVu Serif"), 40, QFont::Bold);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(QRect(3, 63, w, 70), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Taleforge Studio"));
    p.setPen(QColor(0xff, 0xe7, 0xa8));
    p.drawText(QRect(0, 60, w, 70), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Taleforge Studio"));
    QFont s(QStringLiteral("DejaVu Sans"), 12);
    p.setFont(s);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 130, w, 24), Qt::AlignHCenter, QString::fromUtf8("Kit de construcción de juegos de rol"));
    QFont v(QStringLiteral("DejaVu Sans"), 9);
    p.setFont(v);
    p.drawText(QRect(0, 232, w - 10, 20), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8("versión 1.51"));
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const int s = 24;
    save(out, "new", s, [](QPainter& p) { page(p); badge(p, kGreen, true); });
    save(out, "open", s, [](QPainter& p) { folder(p, kAmber); });
    save(out, "close", s, [](QPainter& p) { folder(p, kAmber); badge(p, kRed, false); });
    save(out, "pack", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(QColor(0xe8, 0xe8, 0xee)); p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setBrush(QColor(0xb8, 0xc8, 0xf0)); p.drawEllipse(QPointF(12, 12), 5, 5);
        p.setBrush(Qt::white); p.drawEllipse(QPointF(12, 12), 1.8, 1.8);
    });
    save(out, "save", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(kBlue); p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(kPaper); p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(kInk.lighter(170)); p.drawRect(QRectF(7, 14, 10, 7));
        p.setBrush(kInk); p.drawRect(QRectF(14, 4.5, 2, 4));
    });
    save(out, "revert", s, [](QPainter& p) { arrowBack(p, kRed); });
    save(out, "lower", s, [](QPainter& p) { layers(p, 0); });
    save(out, "upper", s, [](QPainter& p) { layers(p, 1); });
    save(out, "event", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(kAmber); p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(12, 7), QPointF(12, 13.5));
        p.drawPoint(QPointF(12, 17.5));
    });
    save(out, "zoom1", s, [](QPainter& p) { grid(p, 1); });
    save(out, "zoom2", s, [](QPainter& p) { grid(p, 2); });
    save(out, "zoom4", s, [](QPainter& p) { grid(p, 4); });
    save(out, "zoom8", s, [](QPainter& p) { grid(p, 8); });
    save(out, "database", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(kBlue.lighter(130));
        p.drawRect(QRectF(4, 6, 16, 12)); p.setPen(Qt::NoPen); p.drawRect(QRectF(4.8, 6, 14.4, 12));
        p.setPen(ink()); p.drawEllipse(QRectF(4, 14.5, 16, 7));
        p.setPen(Qt::NoPen); p.drawRect(QRectF(4.8, 6, 14.4, 12)); p.setPen(ink());
        p.drawLine(QPointF(4, 6), QPointF(4, 18)); p.drawLine(QPointF(20, 6), QPointF(20, 18));
        p.setBrush(kBlue.lighter(160)); p.drawEllipse(QRectF(4, 2.5, 16, 7));
        p.setBrush(Qt::NoBrush); p.drawArc(QRectF(4, 8.5, 16, 7), 180 * 16, 180 * 16);
    });
    save(out, "material", s, [](QPainter& p) {
        folder(p, kAmber);
        p.setPen(ink(1.2)); p.setBrush(kPaper); p.drawRect(QRectF(11, 11, 11, 10));
        p.setPen(Qt::NoPen); p.setBrush(kGreen); p.drawPolygon(QPolygonF({QPointF(12, 20), QPointF(15.5, 15), QPointF(19, 20)}));
        p.setBrush(kRed); p.drawEllipse(QPointF(19, 14), 1.5, 1.5);
    });
    save(out, "music", s, [](QPainter& p) {
        p.setPen(ink(2)); p.drawLine(QPointF(9, 17), QPointF(9, 5)); p.drawLine(QPointF(19, 15), QPointF(19, 3));
        p.setPen(Qt::NoPen); p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(8.2, 4), QPointF(19.8, 2), QPointF(19.8, 6), QPointF(8.2, 8)}));
        p.setBrush(kBlue); p.setPen(ink(1.2));
        p.drawEllipse(QPointF(6.5, 17.5), 3.2, 2.6); p.drawEllipse(QPointF(16.5, 15.5), 3.2, 2.6);
    });
    save(out, "play", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(6, 3.5), QPointF(20.5, 12), QPointF(6, 20.5)}));
    });
    save(out, "fullscreen", s, [](QPainter& p) {
        monitor(p);
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPolyline(QPolygonF({QPointF(6, 9), QPointF(6, 7), QPointF(8.5, 7)}));
        p.drawPolyline(QPolygonF({QPointF(15.5, 7), QPointF(18, 7), QPointF(18, 9)}));
        p.drawPolyline(QPolygonF({QPointF(6, 11.5), QPointF(6, 13.5), QPointF(8.5, 13.5)}));
        p.drawPolyline(QPolygonF({QPointF(15.5, 13.5), QPointF(18, 13.5), QPointF(18, 11.5)}));
    });
    save(out, "title", s, [](QPainter& p) {
        monitor(p);
        QFont f(QStringLiteral("DejaVu Serif"), 8, QFont::Bold);
        p.setFont(f); p.setPen(kInk);
        p.drawText(QRectF(4.5, 5.5, 15, 9.5), Qt::AlignCenter, QStringLiteral("T"));
    });
    save(out, "help", s, [](QPainter& p) {
        p.setPen(ink()); p.setBrush(kBlue); p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QFont f(QStringLiteral("DejaVu Sans"), 12, QFont::Bold);
        p.setFont(f); p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
    });
    save(out, "undo", s, [](QPainter& p) { arrowBack(p, kBlue); });
    save(out, "select", s, [](QPainter& p) {
        p.setPen(QPen(kInk, 1.6, Qt::DashLine)); p.setBrush(QColor(0x3f, 0x7f, 0xd0, 50));
        p.drawRect(QRectF(3.5, 4.5, 17, 15));
    });
    save(out, "zoomtool", s, [](QPainter& p) {
        magnifier(p);
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 10), QPointF(13, 10)); p.drawLine(QPointF(10, 7), QPointF(10, 13));
    });
    save(out, "pen", s, [](QPainter& p) {
        p.translate(12, 12); p.rotate(45); p.translate(-12, -12);
        p.setPen(ink()); p.setBrush(kAmber); p.drawRect(QRectF(9, 1.5, 6, 15));
        p.setBrush(kRed.lighter(130)); p.drawRect(QRectF(9, 1.5, 6, 3));
        p.setBrush(QColor(0xf3, 0xd9, 0xb1));
        p.drawPolygon(QPolygonF({QPointF(9, 16.5), QPointF(15, 16.5), QPointF(12, 22.5)}));
        p.setBrush(kInk); p.drawPolygon(QPolygonF({QPointF(11, 20.5), QPointF(13, 20.5), QPointF(12, 22.5)}));
    });
    save(out, "rect", s, [](QPainter& p) {
        p.setPen(ink(2)); p.setBrush(kGreen.lighter(140)); p.drawRect(QRectF(3.5, 5.5, 17, 13));
    });
    save(out, "ellipse", s, [](QPainter& p) {
        p.setPen(ink(2)); p.setBrush(kGreen.lighter(140)); p.drawEllipse(QRectF(3, 5, 18, 14));
    });
    save(out, "fill", s, [](QPainter& p) {
        p.translate(11, 13); p.rotate(-30); p.translate(-11, -13);
        p.setPen(ink()); p.setBrush(kGrey.lighter(130));
        p.drawRoundedRect(QRectF(4, 8, 13, 12), 1.5, 1.5);
        p.setBrush(Qt::NoBrush); p.drawArc(QRectF(6, 3, 9, 10), 0, 180 * 16);
        p.resetTransform();
        p.setPen(Qt::NoPen); p.setBrush(kBlue);
        QPainterPath drop; drop.moveTo(20, 12); drop.cubicTo(22.5, 17, 22.5, 20, 20, 20.5); drop.cubicTo(17.5, 20, 17.5, 17, 20, 12);
        p.drawPath(drop);
    });
    save(out, "app", 64, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 24);
        g.setColorAt(0, QColor(0x4a, 0x5f, 0xb0)); g.setColorAt(1, QColor(0x2a, 0x2f, 0x6a));
        p.setPen(ink(0.8)); p.setBrush(g); p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j) {
                QColor c = j == 0 ? QColor(0x6c, 0xb8, 0x4a) : QColor(0x9a, 0x6a, 0x3e);
                if ((i + j) % 2) c = c.darker(112);
                p.fillRect(QRectF(3.5 + i * 5.67, 13 + j * 4.5, 5.67, 4.5), c);
            }
        QFont f(QStringLiteral("DejaVu Serif"), 11, QFont::Bold);
        p.setFont(f); p.setPen(QColor(0xff, 0xe7, 0xa8));
        p.drawText(QRectF(1, 0.5, 22, 13), Qt::AlignCenter, QStringLiteral("T"));
    });
    QImage splash(512, 256, QImage::Format_RGB32);
    {
        QPainter p(&splash);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawSplash(p, 512, 256);
    }
    splash.save(out + "/splash.png");
    return 0;
}
