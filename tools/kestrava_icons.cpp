// kestrava-icons: the desktop's icons of the program, drawn by the code that paints the window's badge,
// so that the menu shows the very logo of the window. Writes into OUT the hicolor theme's folders:
// scalable/apps/ID.svg and NxN/apps/ID.png for the usual sizes.
#include "platform/Style.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

using namespace kestrava;

int main(int argc, char *argv[])
{
    // Run at build time, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage : kestrava-icons ID DOSSIER\n", stderr);
        return 2;
    }
    const QString id = args[1];
    const QDir out(args[2]);

    const auto folder = [&out](const QString &name) {
        const QString path = out.filePath(name + QStringLiteral("/apps"));
        return QDir().mkpath(path) ? path + u'/' : QString();
    };

    constexpr int SvgSize = 512;
    const QString svgFolder = folder(QStringLiteral("scalable"));
    QSvgGenerator svg;
    svg.setFileName(svgFolder + id + QStringLiteral(".svg"));
    svg.setSize(QSize(SvgSize, SvgSize));
    svg.setViewBox(QRect(0, 0, SvgSize, SvgSize));
    svg.setResolution(96); // CSS pixels: the drawing is SvgSize pixels wide
    svg.setTitle(QStringLiteral("Kestrava"));
    svg.setDescription(QStringLiteral("Logo de Kestrava"));
    {
        QPainter painter;
        if (svgFolder.isEmpty() || !painter.begin(&svg)) {
            std::fputs("kestrava-icons : impossible d'écrire l'icône SVG\n", stderr);
            return 1;
        }
        PaintLeagueLogo(painter, SvgSize, true);
    }

    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256, 512 }) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            PaintLeagueLogo(painter, size);
        }
        const QString name = QStringLiteral("%1x%1").arg(size);
        const QString pngFolder = folder(name);
        if (pngFolder.isEmpty() || !image.save(pngFolder + id + QStringLiteral(".png"))) {
            std::fprintf(stderr, "kestrava-icons : impossible d'écrire l'icône %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
