// Renders an SVG picture into a square PNG of the given size, so that the icon sizes the
// desktop wants are made at build time from the one scalable source. An output named *.argb
// gets the bare premultiplied 32-bit pixels instead, row by row, which the program's icons read
// from its resources without decoding (platform/SvgIcon.cpp).
//
//   svg2png <in.svg> <size> <out.png|out.argb>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

// The picture keeps its proportions and is centred; the rest stays transparent.
QRectF FitCentred(QSizeF picture, int size)
{
    picture.scale(size, size, Qt::KeepAspectRatio);
    return {(size - picture.width()) / 2, (size - picture.height()) / 2, picture.width(), picture.height()};
}

bool SaveBare(const QImage &image, const QString &output)
{
    QFile file(output);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()) == image.sizeInBytes();
}

int Render(const QString &input, int size, const QString &output)
{
    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svg2png: cannot read %s\n", qPrintable(input));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, FitCentred(renderer.viewBoxF().size(), size));
    painter.end();
    if (!(output.endsWith(".argb") ? SaveBare(image, output) : image.save(output, "PNG"))) {
        std::fprintf(stderr, "svg2png: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // A build machine has no display and often no session; the picture is drawn into memory only.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    QGuiApplication app(argc, argv);
    bool sizeOk = false;
    const int size = argc == 4 ? QString::fromLocal8Bit(argv[2]).toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1 || size > 4096) {
        std::fprintf(stderr, "usage: svg2png <in.svg> <size 1..4096> <out.png|out.argb>\n");
        return 2;
    }
    return Render(QString::fromLocal8Bit(argv[1]), size, QString::fromLocal8Bit(argv[3]));
}
