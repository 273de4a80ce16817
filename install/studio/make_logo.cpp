// make_logo: draws the start form's logo, 185 x 77 pixels, into a PNG file.
//
//   make_logo OUT.png
//
// Needs a Qt platform for its fonts; without a display it runs offscreen.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidth = 185;
constexpr int kHeight = 77;
const QColor kNavy(0x1F, 0x3A, 0x68);
const QColor kAccent(0xE8, 0x77, 0x2E);

// A chip seen from above, pins on both sides, with a sound wave on its body.
void draw_chip(QPainter& p, QRectF body) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9A, 0xA5, 0xB5));
    for (int i = 0; i < 4; ++i) {
        const double y = body.top() + 9 + i * (body.height() - 18) / 3 - 2;
        p.drawRect(QRectF(body.left() - 5, y, 5, 4));
        p.drawRect(QRectF(body.right(), y, 5, 4));
    }
    p.setBrush(kNavy);
    p.drawRoundedRect(body, 5, 5);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 0x50));
    p.drawEllipse(QPointF(body.left() + 7, body.top() + 7), 2.5, 2.5);

    QPainterPath wave;
    const double mid = body.center().y();
    for (int x = 0; x <= 36; ++x) {
        const double t = x / 36.0;
        const double y = mid - 14 * std::sin(t * 3 * 2 * M_PI) * std::sin(t * M_PI);
        const QPointF point(body.left() + 8 + x, y);
        if (x == 0)
            wave.moveTo(point);
        else
            wave.lineTo(point);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s out.png\n", argv[0]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    draw_chip(p, QRectF(10, 12, 52, 52));

    QFont name("Sans");
    name.setPixelSize(34);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(name);
    p.setPen(kNavy);
    p.drawText(QRectF(74, 6, 110, 42), Qt::AlignLeft | Qt::AlignVCenter, "KOVA");

    p.setPen(QPen(kAccent, 2));
    p.drawLine(QPointF(76, 48), QPointF(178, 48));

    QFont line("Sans");
    line.setPixelSize(12);
    p.setFont(line);
    p.setPen(kNavy);
    p.drawText(QRectF(75, 51, 108, 18), Qt::AlignLeft | Qt::AlignVCenter, "Sound Compiler");
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
