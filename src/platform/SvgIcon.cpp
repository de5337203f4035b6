#include "platform/SvgIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <tuple>

namespace {

class TSvgIconEngine final : public QIconEngine {
public:
    explicit TSvgIconEngine(const QString &path) : FPath(path) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return Prerendered(size).isNull() ? Fitted(size) : size;
    }

    // Every state shows the one picture of the file. Each icon keeps the pictures it has drawn:
    // the toolkit's shared pixmap cache would wake the program half a minute later to tidy
    // itself, even with nothing of it on the screen.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        QPixmap &drawn = FDrawn[{size.width(), size.height(), int(mode)}];
        if (drawn.isNull())
            drawn = Rendered(size, mode);
        return drawn;
    }

    QString key() const override { return QStringLiteral("OrvaniSvg"); }
    QIconEngine *clone() const override { return new TSvgIconEngine(FPath); }

private:
    QSvgRenderer &Renderer()
    {
        if (!FRenderer)
            FRenderer = std::make_unique<QSvgRenderer>(FPath);
        return *FRenderer;
    }

    // The picture's own size scaled into `size`, keeping its proportions.
    QSize Fitted(const QSize &size)
    {
        if (!Renderer().isValid())
            return {};
        QSize fitted = Renderer().defaultSize();
        if (!fitted.isNull())
            fitted.scale(size, Qt::KeepAspectRatio);
        return fitted.isEmpty() ? QSize() : fitted;
    }

    // The pictures the window shows at start are drawn at build time (square ones at square
    // sizes, in a folder per size beside the file: 24/name.argb) and kept uncompressed in the resources: taking one
    // costs nothing, while reading and drawing the file costs as much as the rest of the first
    // frame's painting.
    QImage Prerendered(const QSize &size) const
    {
        if (size.width() != size.height() || !FPath.endsWith(QLatin1String(".svg")))
            return {};
        const qsizetype slash = FPath.lastIndexOf(QLatin1Char('/'));
        const QResource picture(QStringLiteral("%1/%2/%3.argb")
                                    .arg(QStringView(FPath).left(slash), QString::number(size.width()),
                                         QStringView(FPath).sliced(slash + 1).chopped(4)));
        if (!picture.isValid() || picture.compressionAlgorithm() != QResource::NoCompression ||
            picture.size() != qint64(size.width()) * size.height() * 4)
            return {};
        return QImage(picture.data(), size.width(), size.height(), QImage::Format_ARGB32_Premultiplied);
    }

    QImage Picture(const QSize &size)
    {
        if (QImage ready = Prerendered(size); !ready.isNull())
            return ready;
        const QSize fitted = Fitted(size);
        if (fitted.isEmpty())
            return {};
        QImage image(fitted, QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        QPainter painter(&image);
        Renderer().render(&painter);
        painter.end();
        return image;
    }

    // The one picture of the file stands for every state; modes other than Normal are derived
    // from it by the style, as for any icon with a single picture.
    QPixmap Rendered(const QSize &size, QIcon::Mode mode)
    {
        const QImage picture = Picture(size);
        if (picture.isNull())
            return {};
        QPixmap pixmap = QPixmap::fromImage(picture);
        if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
            if (!generated.isNull())
                pixmap = generated;
        }
        return pixmap;
    }

    QString FPath;
    std::unique_ptr<QSvgRenderer> FRenderer;
    std::map<std::tuple<int, int, int>, QPixmap> FDrawn; // width, height, mode
};

} // namespace

QIcon SvgIcon(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    return QIcon(new TSvgIconEngine(path));
}
