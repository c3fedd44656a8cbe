// tavek-render-icon: draws the product emblem into the PNG sizes of the
// hicolor icon theme at build time. It uses the same Qt Svg that draws the
// emblem inside the program, so no image tool becomes a build dependency and
// the PNGs cannot drift from the SVG.
//
// Usage: tavek-render-icon EMBLEM.svg OUTDIR SIZE...
// writes OUTDIR/SIZExSIZE/apps/tavek.png for every SIZE.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    // The emblem holds text, and text needs a QGuiApplication (for its fonts);
    // a build has no display, and needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a runtime folder at start; where a build has none, it warns and
    // makes /tmp/runtime-$USER. One that goes away with the program instead.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "Usage: tavek-render-icon EMBLEM.svg OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "tavek-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1) {
            std::fprintf(stderr, "tavek-render-icon: %s is no size\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = folder + QStringLiteral("/tavek.png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "tavek-render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
