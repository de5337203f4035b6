#pragma once
// A list of equally sized images, and an action that names one of them. Buttons and menus take
// their pictures from a shared list by index, so a picture is drawn once and used everywhere.

#include <QAction>
#include <QList>
#include <QPixmap>
#include <QPointer>

class TkxImageList : public QObject {
    Q_OBJECT
public:
    TkxImageList(int width, int height, QObject *parent = nullptr);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }

    // Adds a picture, scaled to the list's size when it has another; returns its index.
    int Add(const QPixmap &image);
    // The image at index, or a null pixmap when the index is out of range.
    QPixmap Image(int index) const;

private:
    int FWidth;
    int FHeight;
    QList<QPixmap> FImages;
};

// An action that carries an image index into an image list (-1: no image).
class TkxImageAction : public QAction {
    Q_OBJECT
public:
    explicit TkxImageAction(QObject *parent = nullptr) : QAction(parent) {}

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    TkxImageList *Images() const { return FImages; }
    void SetImages(TkxImageList *images);

private:
    int FImageIndex = -1;
    QPointer<TkxImageList> FImages;
};
