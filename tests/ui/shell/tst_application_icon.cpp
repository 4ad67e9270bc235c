#include "shell/toolbar_icons.h"

#include <QIcon>
#include <QImage>
#include <QtTest>

using namespace quillon;

namespace {

constexpr int kSides[] = {16, 24, 32, 48, 64, 128, 256};

QString pngPath(int side)
{
    return QStringLiteral(QUILLON_ICON_DIR "/quillon-%1.png").arg(side);
}

// The icon as Qt makes it from the installed PNGs.
QIcon iconFromPngs()
{
    QIcon icon;
    for (int side : kSides)
        icon.addFile(pngPath(side), QSize(side, side));
    return icon;
}

QImage picture(const QIcon &icon, const QSize &size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(size, 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// The program keeps its icon as raw pixels taken from the PNGs at build
// time: every window, the About box and the window manager must get the
// very pixels the PNGs hold, at their sizes and at any other.
class TestApplicationIcon : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheInstalledPngs();
};

void TestApplicationIcon::sameAsTheInstalledPngs()
{
    const QIcon icon = applicationIcon();
    const QIcon reference = iconFromPngs();
    QCOMPARE(icon.availableSizes(), reference.availableSizes());
    for (int side : kSides) {
        const QImage png = QImage(pngPath(side)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!png.isNull());
        QCOMPARE(picture(icon, QSize(side, side)), png);
    }
    // Sizes between and beyond, scaled alike; the disabled look alike.
    for (const QSize size : {QSize(20, 20), QSize(40, 40), QSize(68, 68), QSize(100, 100), QSize(512, 512)})
        QCOMPARE(picture(icon, size), picture(reference, size));
    QCOMPARE(picture(icon, QSize(32, 32), QIcon::Disabled), picture(reference, QSize(32, 32), QIcon::Disabled));
}

QTEST_MAIN(TestApplicationIcon)
#include "tst_application_icon.moc"
